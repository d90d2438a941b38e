#pragma once
// One registered movie or audio extension of the launch-extension list: whether this program
// handles it now, its content type, its handler now and the handler it had before this
// program (section EXT_INFO of the settings). Plain data: built by file intake from the
// registry, kept with the settings, shown by the association page.

#include <string>

struct LaunchExtension {
    bool associated = false;     // the handler now is this program's ("Lumikino")
    std::wstring extension;      // with its dot, as the registry names the key
    std::wstring contentType;    // "video/..." or "audio/..."
    std::wstring currentHandler;  // the key's default value
    std::wstring savedHandler;    // EXT_INFO: the handler before this program, empty when none
};
