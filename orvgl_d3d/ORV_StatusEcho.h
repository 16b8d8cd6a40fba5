// The status echo: four numbered slots (0 to 3), each optionally bound to
// something that shows a line of text. Library code writes to a slot without
// knowing what, if anything, is behind it; the game shell binds its read-outs.
//
// A slot holds only a weak reference: whoever created the text window owns
// it, and once that window is gone the slot is skipped like an unbound one.
#pragma once

#include <memory>
#include <string>

// Anything that can show one line of status text (a read-out control, a
// test's recorder).
class ORV_IStatusText
{
public:
    virtual ~ORV_IStatusText() = default;
    virtual void SetStatusText(const std::wstring& text) = 0;
};

constexpr int ORV_STATUS_SLOT_COUNT = 4;

// Binds slot 0..3 to window; an empty pointer unbinds. Slots outside 0..3
// are ignored.
void BindStatusWindow(int slot, std::weak_ptr<ORV_IStatusText> window);

// Each sets the text of the window bound to its slot, if it still exists;
// otherwise (or for a null text) does nothing.
void EchoToStatus0(const wchar_t* text);
void EchoToStatus1(const wchar_t* text);
void EchoToStatus2(const wchar_t* text);
void EchoToStatus3(const wchar_t* text);
