#pragma once

#include <sstream>
#include <string_view>

// The developer log, "Trace.log" in the working directory: one line per message,
// flushed every time so the file is complete even if the program is killed.
namespace Trace
{
// Opens (truncating) the log. Every writer opens it on first use too, so messages
// written before the main loop starts are kept.
bool Open();
void Message(std::string_view text);
// A data or start-up problem: written to the log and to standard error.
void Error(std::string_view text);
void Close();
bool IsOpen();

// When on, every message is also written to standard output.
void SetEcho(bool echo);

// Build a message with ordinary stream insertion, then hand it over with Trace::endm:
//   Trace::Stream() << "Scene " << name << " Init" << Trace::endm;
std::ostringstream& Stream();
std::ostream& endm(std::ostream& os);
} // namespace Trace
