#pragma once
// Reads the entries of an ASX list (".asx", ".wvx", ".wax"): for each entry element of the
// root asx element, the href of its first ref element, element and attribute names matched
// whatever their case. Titles and every other element are ignored; an entry whose first ref
// has no href gives nothing.
//
// The file is read with XmlLite, DTDs prohibited and elements at most 64 deep: a list with a
// document type (external entities, entity bombs), endless nesting or bytes that are not XML
// reads as nothing, at the cost of reading its bytes. (The platform's DOM parser accepts the
// property that prohibits DTDs under Wine and ignores it.)
// Thread: any with COM initialised.

#include <string>
#include <vector>

// True with the entries' paths in order; false, and nothing, for a list that cannot be opened
// or is not well-formed XML.
bool ReadAsxList(const std::wstring& path, std::vector<std::wstring>* paths);
