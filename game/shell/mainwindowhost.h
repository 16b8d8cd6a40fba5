// What the main window needs from the program that runs it: the model owner
// its views and dialogs work on, the key source that gathers the keyboard,
// and the run's options (a replay to play, a file to record into, the
// variometer at start). The application implements it and outlives every
// main window it runs; the window holds a reference for its whole life and
// never asks the toolkit for the application.
#pragma once

#include <filesystem>
#include <optional>

class CKeyScriptReplay;
class CModelOwner;
class CWxKeySource;

class CMainWindowHost
{
public:
    virtual CModelOwner& GetModels() = 0;
    virtual CWxKeySource& GetKeySource() = 0;
    // The replay the window plays instead of the keyboard; null when none.
    virtual CKeyScriptReplay* GetReplay() const = 0;
    // Where the window writes its recording when it closes, if anywhere.
    virtual const std::optional<std::filesystem::path>& GetRecordFile() const = 0;
    virtual bool GetVarioAtStart() const = 0;

protected:
    ~CMainWindowHost() = default;
};
