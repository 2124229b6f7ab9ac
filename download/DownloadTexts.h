#pragma once
#include <string>

namespace flk {

// What the existing-file rule does when the target already exists; the
// numbers are the ones handed to each worker.
enum class ExistingFilePolicy { Overwrite = 0, Ask = 1, Rename = 2 };

// A worker's result, shown in the finished list. 0: the user cancelled the
// name question, and the row keeps its last status text.
namespace download_result {
constexpr int None = 0;
constexpr int Finished = 1;
constexpr int ConnectionError = 2;
constexpr int Interrupted = 3;
constexpr int NotFound = 4;
constexpr int AccessDenied = 5;
constexpr int CreateError = 6;
}  // namespace download_result

// The finished list's text of a result code; "" for codes outside 1..6.
std::string ResultText(int code);

// Status texts of the waiting list.
namespace download_status {
inline constexpr char Waiting[] = "Waiting...";
inline constexpr char Starting[] = "Starting download";
inline constexpr char Connecting[] = "Connecting server";
inline constexpr char Reading[] = "Reading file";
inline constexpr char Finished[] = "Finished";
inline constexpr char Moved[] = "File moved";
inline constexpr char NotFound[] = "File not found";
inline constexpr char ConnectionError[] = "Connection error";
inline constexpr char AccessDenied[] = "Access Denied";
inline constexpr char Interrupted[] = "Interrupted by user";
inline constexpr char InternetException[] = "Internet exception";
inline constexpr char DiskFull[] = "Not enough free disk space";
inline constexpr char WriteError[] = "Error writing file";
inline constexpr char Unknown[] = "Unknown";
}  // namespace download_status

// Captions of the file-save questions.
inline constexpr char kFileExistsTitle[] = "File Exists!";
inline constexpr char kSaveAsTitle[] = "Save As";

}  // namespace flk
