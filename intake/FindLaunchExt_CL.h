#pragma once
// The launch-extension list: every extension the registry's class root gives a handler and a
// video or audio content type, in the registry's order, with the handler it had before this
// program (EXT_INFO). Rebuilt once the window shows (a walk over the class root costs more
// than the rest of a start), after which the handlers of extensions this program does not
// handle are remembered in EXT_INFO, so that the association page can hand them back.
// The registry is only read. Thread: UI.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "store/LaunchExtension.h"

class Inifile_CL;

// A key directly under the class root, as the list reads it.
struct ClassRootKey {
    std::wstring name;
    bool hasHandler = false;  // the default value
    std::wstring handler;
    bool hasContentType = false;  // the value "Content Type"
    std::wstring contentType;
};

class FindLaunchExt_CL {
public:
    // Calls visit for each key of the class root in enumeration order; the values are read
    // only for keys whose name starts with ".". Tests give their own source.
    using KeySource = std::function<void(const std::function<void(const ClassRootKey&)>& visit)>;
    static void ReadClassRoot(const std::function<void(const ClassRootKey&)>& visit);

    // Pure: the list from the keys, savedHandler giving the EXT_INFO value of an extension.
    static std::vector<LaunchExtension> Build(const KeySource& source,
                                              const std::function<std::wstring(const std::wstring&)>& savedHandler);

    // Pure: the EXT_INFO keys a rebuild writes, as (extension, handler): the entries whose
    // handler is not this program's ("Lumikino" or "Lumikina", exactly) and differs from the
    // value stored, so that a remembered handler is never overwritten with this program's name
    // and an unchanged registry leaves the file as it was.
    static std::vector<std::pair<std::wstring, std::wstring>> ExtInfoWrites(const std::vector<LaunchExtension>& list);

    // Builds the list from source with the settings file's EXT_INFO, writes what ExtInfoWrites
    // says into it and returns the list (the saved handlers as they are after the writes).
    static std::vector<LaunchExtension> Rebuild(const KeySource& source, const Inifile_CL& settings);
};
