#include "download/DownloadTexts.h"

namespace flk {

std::string ResultText(int code) {
    switch (code) {
        case download_result::Finished: return "Finished successfully";
        case download_result::ConnectionError: return "Connection error";
        case download_result::Interrupted: return "Interrupted by user";
        case download_result::NotFound: return "File not found";
        case download_result::AccessDenied: return "Access denied";
        case download_result::CreateError: return "Error creating file";
        default: return "";
    }
}

}  // namespace flk
