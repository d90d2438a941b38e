#pragma once
// Names both sides of the file association see: the request file the player writes and the
// association helper reads, its sections and keys, the helper's file name, and the registry
// keys the helper writes. The two programs agree only through these.

// The request, in the data folder ("\Lumikino" under Documents).
inline constexpr wchar_t kAssocRequestFileName[] = L"file_ext_info.txt";
inline constexpr wchar_t kAssocAppSection[] = L"APP_INFO";
inline constexpr wchar_t kAssocAppKey[] = L"app";
inline constexpr wchar_t kAssocExeKey[] = L"exe";
inline constexpr wchar_t kAssocIconKey[] = L"icon";
inline constexpr wchar_t kAssocDescKey[] = L"desc";
inline constexpr wchar_t kAssocExtSection[] = L"FILE_EXT";
inline constexpr wchar_t kAssocCountKey[] = L"count";
inline constexpr wchar_t kAssocItemStem[] = L"item";  // "item0", "item1", ...

// The application the association names, and what the request says of it.
inline constexpr wchar_t kAssocAppName[] = L"Lumikino";
inline constexpr wchar_t kAssocIconSuffix[] = L",0";
inline constexpr wchar_t kAssocDescription[] =
    L"Lumikinoは、動画をサムネイル表示で好きなシーンから再生できる動画プレーヤーです。"
    L"動画の再生を途中で止めても、次に再生した時に前回のシーンから再生するなど動画を快適に再生する為の機能が豊富です。"
    L"ハードウェア動画再生支援（DXVA2）にも対応しているので、フルハイビジョン映像でもＣＰＵ使用率を抑えて動画を快適に"
    L"再生する事ができます。";

// The helper, beside the player.
inline constexpr wchar_t kAssocHelperFileName[] = L"Lumikino_FileExtChange.exe";

// The request names the player's path in at most this many characters (MAX_PATH less its end).
inline constexpr unsigned kAssocMaxExeUnits = 259;
// Items past this many are not read: a damaged count must not keep the helper busy.
inline constexpr int kAssocMaxItems = 4096;

// Registry keys of the registered-application path (under HKEY_LOCAL_MACHINE).
inline constexpr wchar_t kAssocClientsMediaKey[] = L"Software\\Clients\\Media";
inline constexpr wchar_t kAssocCapabilitiesSubKey[] = L"\\Capabilities";
inline constexpr wchar_t kAssocFileAssociationsSubKey[] = L"\\FileAssociations";
inline constexpr wchar_t kAssocClassesKey[] = L"Software\\Classes";
inline constexpr wchar_t kAssocRegisteredAppsKey[] = L"Software\\RegisteredApplications";
inline constexpr wchar_t kAssocLocalizedStringValue[] = L"LocalizedString";
inline constexpr wchar_t kAssocAppDescriptionValue[] = L"ApplicationDescription";
inline constexpr wchar_t kAssocAppNameValue[] = L"ApplicationName";
// Under the application's class key, on both paths.
inline constexpr wchar_t kAssocDefaultIconSubKey[] = L"\\DefaultIcon";
inline constexpr wchar_t kAssocOpenCommandSubKey[] = L"\\Shell\\Open\\command";
