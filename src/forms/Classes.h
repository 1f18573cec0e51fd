// Base object, the string list and the file stream.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

#include "forms/Handles.h"
#include "forms/SysUtils.h"

namespace forms {

// A reference to something callable, for a call made while the callable still lives (the
// argument of a function that calls it before returning). Owns nothing, allocates nothing.
template <class R>
class FunctionRef {
public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef>>>
    FunctionRef(F&& f)  // NOLINT: converts from any callable, as std::function does
        : object_(const_cast<void*>(static_cast<const void*>(&f))),
          call_([](void* o) -> R { return (*static_cast<std::remove_reference_t<F>*>(o))(); }) {}
    R operator()() const { return call_(object_); }

private:
    void* object_;
    R (*call_)(void*);
};

class TObject {
public:
    virtual ~TObject() = default;
};

// An ordered list of texts: not sorted, duplicates allowed, additions appended at the end.
class TStringList : public TObject {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& operator[](int index) const { return items_[static_cast<std::size_t>(index)]; }
    void Add(const std::string& s) { items_.push_back(s); }
    void Clear() { items_.clear(); }
    void Delete(int index) { items_.erase(items_.begin() + index); }
    // Index of the first text equal to s without regard to case in the user's locale
    // (CompareStringA, LOCALE_USER_DEFAULT, NORM_IGNORECASE), or -1.
    int IndexOf(const std::string& s) const;

    std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }

private:
    std::vector<std::string> items_;
};

// A file opened through CreateFileA. Only the create mode is offered.
class TFileStream : public TObject {
public:
    static constexpr unsigned short fmCreate = 0xFFFF;

    // CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
    // FILE_ATTRIBUTE_NORMAL, NULL); raises EFCreateError "Cannot create file %s".
    TFileStream(const std::string& fileName, unsigned short mode);

    // One WriteFile call; the number of bytes written, 0 when the call fails.
    std::size_t Write(const void* buffer, std::size_t count);
    // Write, and raise EWriteError "Cannot write file %s" unless every byte was written.
    void WriteBuffer(const void* buffer, std::size_t count);

    const std::string& FileName() const { return fileName_; }
    HANDLE Handle() const { return handle_.Get(); }

private:
    std::string fileName_;
    UniqueFile handle_;
};

}  // namespace forms
