#pragma once
// One item of an association request: an extension (with its dot) and the handler class it is
// to get (may be empty). The player writes items, the helper reads them back.

#include <string>

struct AssocItem {
    std::wstring extension;
    std::wstring handler;
    bool operator==(const AssocItem& other) const {
        return extension == other.extension && handler == other.handler;
    }
};
