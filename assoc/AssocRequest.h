#pragma once
// The association request the player hands to the elevated helper: which extensions to give
// to this program and which to hand back, as the text file the helper reads as an INI file.
// Everything here is pure (strings in, bytes out); writing the file and starting the helper
// is AssocLauncher_CL's work.
// Thread: any.

#include <string>
#include <vector>

#include "assoc/AssocItem.h"
#include "store/LaunchExtension.h"

// The request as it goes to the file.
struct AssocRequestText {
    std::string bytes;     // code page 932, CR LF line ends, no byte-order mark
    int itemCount = 0;     // item lines written
    int skippedCount = 0;  // items left out because the request cannot carry their names
};

// True when the name can stand in an item line and be read back by the helper as it was: no
// control characters and none of "[ ] = , ; \" (the INI reader and the item split would cut
// or bend such a name).
bool IsRequestSafeName(const std::wstring& name);

// The text in code page 932; false when a character has no exact form there (no best-fit
// substitutes: a path the helper read back differently would name another file).
bool EncodeCodePage932(const std::wstring& text, std::string* bytes);

// The whole request for the player at exePath. Items with a name that is not request-safe or
// not in code page 932 are left out (counted in skippedCount); the others are numbered from 0
// without gaps. False, and nothing in out, when exePath is empty, longer than 259 characters
// or not in code page 932: the helper would register a path that is not the player's.
bool FormatAssocRequest(const std::wstring& exePath, const std::vector<AssocItem>& items, AssocRequestText* out);

// The items of the list layout's apply: for each record whose row's check state (checked[r])
// differs from its associated flag, the record changes (checked: associated, handler
// "Lumikino"; unchecked: not associated, handler the saved one) and gives one item. Rows past
// the end of checked are taken as unchanged. changedRows (may be null) receives the rows that
// changed, in order.
std::vector<AssocItem> ApplyCheckStates(std::vector<LaunchExtension>& records, const std::vector<bool>& checked,
                                        std::vector<int>* changedRows);

// Every record handed back to its saved handler: not associated, handler the saved one; one
// item per record, in list order.
std::vector<AssocItem> HandBackItems(std::vector<LaunchExtension>& records);

// HandBackItems, then one item with an empty handler for each drop extension (lower-cased,
// empty ones and repeats dropped) that the records do not name (compared in lower case).
std::vector<AssocItem> RegisterAllItems(std::vector<LaunchExtension>& records,
                                        const std::vector<std::wstring>& dropExtensions);
