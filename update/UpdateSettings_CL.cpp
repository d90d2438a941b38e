#include "update/UpdateSettings_CL.h"

#include "store/AppSettings.h"

UpdateSettings_CL::UpdateSettings_CL(const std::wstring& settingsPath) {
    if (!settingsPath.empty()) m_file.Open(settingsPath);
}

UpdateSettings_CL UpdateSettings_CL::ForProcess() {
    return UpdateSettings_CL(AppSettings::Process().File().Path());
}

// notify is read from the file rather than from the record: the version page writes it
// through at once, so both agree, and the check then needs nothing but the file.
int UpdateSettings_CL::Notify() const { return m_file.GetInt(kVersionSection, kKeyNotify, 0); }

int UpdateSettings_CL::Force() const { return m_file.GetInt(kVersionSection, kKeyForce, 0); }

int UpdateSettings_CL::LastDay() const { return m_file.GetInt(kVersionSection, kKeyLastDay, 0); }

std::wstring UpdateSettings_CL::NextVersion() const {
    return m_file.GetString(kVersionSection, kKeyNextVersion, kDefaultNextVersion);
}

int64_t UpdateSettings_CL::NextNotify() const { return m_file.GetHex64(kVersionSection, kKeyNextNotify, 0); }

void UpdateSettings_CL::WriteLastDay(int day) const { m_file.WriteInt(kVersionSection, kKeyLastDay, day); }

void UpdateSettings_CL::WriteNextVersion(const std::wstring& version) const {
    m_file.WriteString(kVersionSection, kKeyNextVersion, version);
}

void UpdateSettings_CL::WriteNextNotify(int64_t seconds) const {
    m_file.WriteHex64(kVersionSection, kKeyNextNotify, seconds);
}
