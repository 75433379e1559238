#pragma once
// The platform's error codes that more than one port speaks; 0 is success.
// Every port operation that gives a result or an error code is [[nodiscard]]
// (an error code through its type, Error): a caller that has no use for it
// says so with (void), and the compiler finds every other call that drops
// it. Only the answer of a message box or a modal dialog and the place a list
// gave an item may be dropped silently.

namespace plat {

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorPathNotFound = 3;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorSharingViolation = 32;
constexpr long kErrorFileExists = 80;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorAlreadyExists = 183;
constexpr long kErrorFilenameExcedRange = 206;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

// An error code as a port operation gives it. A call that drops one does not
// build (the builds treat warnings as errors); a caller with no use for it
// says so with (void). It reads as the code itself wherever a code is used.
class [[nodiscard]] Error {
public:
    constexpr Error(long code = kErrorSuccess) : code_(code) {}
    constexpr operator long() const { return code_; }

private:
    long code_;
};

}  // namespace plat
