// The setup kit carried in the program's image.
#pragma once
#include <cstddef>

struct TPayloadFile {
    const char* Name;            // bare file name, written as it stands
    const unsigned char* Bytes;  // the whole file, constant data of the image
    std::size_t Size;            // always the length of Bytes
};

constexpr std::size_t PayloadFileCount = 10;

// The kit's files in write order.
extern const TPayloadFile PayloadFiles[PayloadFileCount];
