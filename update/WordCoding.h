#pragma once
#include <string>
#include <string_view>

namespace flk {

// The letter shift that keeps the adult-keyword block of the stored update
// data from reading as plain words. Space, "," and "-" stay; "z"/"Z" wrap to
// "a"/"A"; every other byte moves up by one (line ends too, so an encoded
// block is one line). DecodeWords is the inverse shift.
std::string EncodeWords(std::string_view plain);
std::string DecodeWords(std::string_view encoded);

// The stored form of downloaded update data: when "<sex words>" and, after
// it, "</sex words>" occur, the text between them is encoded. Anything else
// is returned unchanged.
std::string EncodeAdultBlock(std::string_view text);

}  // namespace flk
