#include "ORV_MessageBox.h"

#include <cstdio>
#include <string>
#include <utility>

#include "Utf8.h"

namespace {

ORV_MessageBoxHandler& Handler()
{
    static ORV_MessageBoxHandler handler;
    return handler;
}

}  // namespace

ORV_MessageBoxHandler SetMessageBoxHandler(ORV_MessageBoxHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

int ORV_MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    if (text == nullptr)
        text = L"";
    if (caption == nullptr)
        caption = L"";
    if (Handler())
        return Handler()(owner, text, caption, type);
    // No toolkit to show a box: one line on stderr, answered as if OK was
    // pressed so the caller carries on as it would after a real box.
    const std::string line = WideToUtf8(caption) + ": " + WideToUtf8(text) + "\n";
    std::fputs(line.c_str(), stderr);
    return IDOK;
}
