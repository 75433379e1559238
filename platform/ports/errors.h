#pragma once
// The platform's error codes that more than one port speaks; 0 is success.

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

}  // namespace plat
