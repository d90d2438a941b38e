#pragma once
// Names of media-type GUIDs for the renderer's connect log.

#include <windows.h>

#include <string>

// "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", followed for the GUIDs the player
// knows by a label such as "(MEDIASUBTYPE_YUY2)" or "(FORMAT_VideoInfo)".
std::wstring GuidName(const GUID& guid);
