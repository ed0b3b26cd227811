#include <windows.h>
#include <aclapi.h>

#include "common/Common.BaseSecurity.h"
#include "common/uSysError.h"

namespace common {

namespace {

// Frees what the steps below obtained, whichever step fails.
struct SecurityResources {
    PSID everyone = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL newDacl = nullptr;
    ~SecurityResources() {
        if (newDacl != nullptr) LocalFree(newDacl);
        if (descriptor != nullptr) LocalFree(descriptor);
        if (everyone != nullptr) FreeSid(everyone);
    }
};

bool GrantsEveryoneAll(PACL dacl, PSID everyone) {
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace)) continue;
        const auto* header = static_cast<ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (allowed->Mask == GENERIC_ALL && EqualSid(reinterpret_cast<PSID>(&allowed->SidStart), everyone))
            return true;
    }
    return false;
}

}  // namespace

void GrantEveryoneFullAccess(const std::u16string& path) {
    SecurityResources r;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &r.everyone))
        RaiseOSError(LastOSError());

    std::wstring name(reinterpret_cast<const wchar_t*>(path.c_str()), path.size());
    PACL dacl = nullptr;
    const DWORD read = GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                             &dacl, nullptr, &r.descriptor);
    if (read != ERROR_SUCCESS) RaiseOSError(static_cast<int>(read));
    if (dacl == nullptr || GrantsEveryoneAll(dacl, r.everyone)) return;

    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = GRANT_ACCESS;
    access.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPWSTR>(r.everyone);
    const DWORD built = SetEntriesInAclW(1, &access, dacl, &r.newDacl);
    if (built != ERROR_SUCCESS) RaiseOSError(static_cast<int>(built));
    // Not being allowed to store the rights does not stop the log.
    SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, r.newDacl,
                          nullptr);
}

}  // namespace common
