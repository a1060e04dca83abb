#include "core/Trace.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace
{
// A plain FILE* rather than a stream object: nothing here has a destructor, so a
// message written late in shutdown still finds the log in a usable state.
std::FILE* s_log = nullptr;
bool s_opened = false;
bool s_echo = false;

std::ostringstream& TraceText()
{
    static std::ostringstream text;
    return text;
}

void WriteLine(std::FILE* file, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc('\n', file);
    std::fflush(file);
}
} // namespace

namespace Trace
{
bool Open()
{
    Close();
    s_log = std::fopen("Trace.log", "w");
    s_opened = true;
    return s_log != nullptr;
}

void Message(std::string_view text)
{
    if (!s_log && !s_opened)
        Open();
    if (s_log)
        WriteLine(s_log, text);
    else if (std::FILE* late = std::fopen("Trace.log", "a"))
    {
        // After Close: add to the finished log, never start it again.
        WriteLine(late, text);
        std::fclose(late);
    }
    if (s_echo)
        std::cout << text << '\n';
}

void Error(std::string_view text)
{
    Message(text);
    if (!s_echo)
        std::cerr << text << '\n';
}

void Close()
{
    if (!s_log)
        return;
    std::fclose(s_log);
    s_log = nullptr;
}

bool IsOpen()
{
    return s_log != nullptr;
}

void SetEcho(bool echo)
{
    s_echo = echo;
}

std::ostringstream& Stream()
{
    return TraceText();
}

std::ostream& endm(std::ostream& os)
{
    std::ostringstream& text = TraceText();
    if (&os == &text)
    {
        Message(text.str());
        text.str(std::string());
        text.clear();
    }
    return os;
}
} // namespace Trace
