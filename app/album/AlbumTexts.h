#pragma once
// User-visible texts of the album linkage.

constexpr wchar_t kTextAddTagsCaption[] = L"タグの追加";
constexpr wchar_t kTextAddTagsPrompt[] =
    L"追加するタグを入力してください。（空白をあけて複数入力も可能です。）";
