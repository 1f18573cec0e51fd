// Exceptions and small text helpers of the framework layer.
#pragma once
#include <exception>
#include <string>

namespace forms {

// Base of every exception the framework and the program raise. Messages are 8-bit ANSI text.
// Each exception remembers the code address that raised it, for the "Application Error" box.
class Exception : public std::exception {
public:
    __attribute__((noinline)) explicit Exception(std::string message);
    const std::string& Message() const { return message_; }
    const void* Address() const { return address_; }
    virtual const char* ClassName() const { return "Exception"; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    const void* address_;
};

// Derived exceptions forward to Exception's constructor inline, so that the address Exception
// records is the one of the code that raised it.
#define FORMS_EXCEPTION(Name, Base)                                                         \
    class Name : public Base {                                                              \
    public:                                                                                 \
        __attribute__((always_inline)) explicit Name(std::string message)                   \
            : Base(std::move(message)) {}                                                   \
        const char* ClassName() const override { return #Name; }                            \
    }

FORMS_EXCEPTION(EStreamError, Exception);
FORMS_EXCEPTION(EFCreateError, EStreamError);
FORMS_EXCEPTION(EWriteError, EStreamError);
FORMS_EXCEPTION(ERegistryException, Exception);
FORMS_EXCEPTION(EParserError, Exception);   // a malformed form definition
FORMS_EXCEPTION(EResNotFound, Exception);   // a resource missing from the image
FORMS_EXCEPTION(EOSError, Exception);       // the platform refused to create a window or object

// Fills "%s" placeholders in order (only %s is understood).
std::string Format(const char* pattern, const std::string& a);
std::string Format(const char* pattern, const std::string& a, const std::string& b);

// The error box's rule: a "." is appended when the text is not empty and its last byte, as an
// unsigned byte, is above '.' (0x2E). For a double-byte character the lead byte decides.
std::string WithFullStop(const std::string& text);

// The application title of a program file: its name without folder and without everything from
// the first "." on, every character after the first in lower case.
std::string ApplicationTitleFromPath(const std::string& path);

// c in upper case, by the user's ANSI code page.
char AnsiUpperChar(char c);

}  // namespace forms
