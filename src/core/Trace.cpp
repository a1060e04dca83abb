#include "core/Trace.h"

#include <fstream>
#include <iostream>
#include <memory>

namespace
{
std::unique_ptr<std::ofstream> s_log;
bool s_echo = false;

std::ostringstream& TraceText()
{
    static std::ostringstream text;
    return text;
}
} // namespace

namespace Trace
{
bool Open()
{
    s_log = std::make_unique<std::ofstream>("Trace.log", std::ios::out | std::ios::trunc);
    return s_log->is_open();
}

void Message(std::string_view text)
{
    if (!s_log)
        Open();
    *s_log << text << '\n';
    s_log->flush();
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
    s_log->flush();
    s_log->close();
    s_log.reset();
}

bool IsOpen()
{
    return s_log && s_log->is_open();
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
