#pragma once
#include <string>
#include <string_view>

namespace flk {

// True for text that names a local file rather than a web address: it
// contains "\", begins with "/", or begins with "file://".
bool IsLocalPath(std::string_view text);

// The file system path of a local-path text: "file://" is stripped.
std::string LocalFilePath(std::string_view text);

// How a local path is written as a "file:" address.
enum class FileAddressForm {
    // "\" becomes "/": "/home/x" gives "file:///home/x", "C:\x" gives
    // "file:///C:/x", "\\srv\x" gives "file://srv/x".
    Slashes,
    // The list pages' form: a path holding "\" keeps it and becomes
    // "file:////" + the path, after everything up to and including its first
    // "\\" (a network path's start) is dropped; "C:\x" gives "file:////C:\x".
    // A path without "\" is written as Slashes writes it.
    ListPage,
};

// A local path as a "file:" address. In both forms "%", "#" and "?" are
// percent-encoded, since they would end the path early in an address;
// everything else stays as it is. Text that already is a "file:" address
// is returned unchanged.
std::string FileAddress(std::string_view path, FileAddressForm form = FileAddressForm::Slashes);

}  // namespace flk
