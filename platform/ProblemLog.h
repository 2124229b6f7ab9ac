#pragma once
#include <functional>
#include <string>

namespace flk {

// Problems the program works around on its own but a user may need to
// find later (update data refused, ...): one line each, "Findlark: " + text,
// on the standard error stream, which the desktop session keeps in its
// journal. Callable from any thread.
void LogProblem(const std::string& text);

// While set, the lines go to the hook instead of the standard error stream.
// For tests; an empty function restores the stream.
void SetProblemLogHook(std::function<void(const std::string& text)> hook);

}  // namespace flk
