#include "forms/Classes.h"

namespace forms {

int TStringList::IndexOf(const std::string& s) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::string& item = items_[i];
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, item.data(),
                           static_cast<int>(item.size()), s.data(),
                           static_cast<int>(s.size())) == CSTR_EQUAL)
            return static_cast<int>(i);
    }
    return -1;
}

TFileStream::TFileStream(const std::string& fileName, unsigned short /*mode*/)
    : fileName_(fileName),
      handle_(CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!handle_) throw EFCreateError(Format("Cannot create file %s", fileName));
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    DWORD written = 0;
    if (!WriteFile(handle_.Get(), buffer, static_cast<DWORD>(count), &written, nullptr)) return 0;
    return written;
}

void TFileStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (Write(buffer, count) != count) throw EWriteError(Format("Cannot write file %s", fileName_));
}

}  // namespace forms
