// The log folder's access list: a new folder grants Everyone full access,
// inherited by files and subfolders; an existing folder's list is left alone.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <chrono>

#include "common/Common.BaseSecurity.h"
#include "common/uCommonUtils.h"
#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogFixture.h"

using namespace log_tests;

namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Entries of the folder's list that allow Everyone full access, inherited by
// files and folders: GENERIC_ALL, or what the system made of it when it merged
// the entry into one it had for Everyone (at least read, write, execute, delete).
int EveryoneFullAccessEntries(const std::u16string& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(Wide(path), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return -1;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    int count = 0;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        const BYTE inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        const ACCESS_MASK full = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;
        const bool all = allowed->Mask == GENERIC_ALL || (allowed->Mask & full) == full;
        if (all && (allowed->Header.AceFlags & inherit) == inherit &&
            EqualSid(reinterpret_cast<PSID>(&allowed->SidStart), everyone))
            ++count;
    }
    FreeSid(everyone);
    LocalFree(descriptor);
    return count;
}

std::wstring Sddl(const std::u16string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    GetNamedSecurityInfoW(Wide(path), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr,
                          &descriptor);
    wchar_t* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
                                                         nullptr);
    std::wstring result = text != nullptr ? text : L"";
    LocalFree(text);
    LocalFree(descriptor);
    return result;
}

}  // namespace

TEST_F(LogTest, NewFolderInCommonAppDataGrantsEveryoneFullAccess) {
    const std::u16string stem = u"wq-acl-" + cf::IntToStr(std::chrono::steady_clock::now().time_since_epoch().count());
    common::SetLogFolder(u"");
    common::SetLogFileStem(stem);
    const std::u16string appData = common::GetSpecialFolderPath(common::kCsidlCommonAppData);
    ASSERT_EQ(EveryoneFullAccessEntries(appData), 0) << "the rights must come from the grant";
    const std::u16string created = common::GetLogPath(true);
    EXPECT_EQ(created, appData + u"Ventarix\\" + stem + u"\\");
    const std::wstring list = Sddl(created);
    EXPECT_EQ(EveryoneFullAccessEntries(created), 1) << std::string(list.begin(), list.end());
    // Granting again finds the entry and adds nothing.
    common::GrantEveryoneFullAccess(created);
    EXPECT_EQ(EveryoneFullAccessEntries(created), 1);
    RemoveDirectoryW(Wide(created));
}

TEST_F(LogTest, ExistingFolderKeepsItsAccessList) {
    const std::u16string existing = folder.Path() + u"existing";
    ASSERT_TRUE(CreateDirectoryW(Wide(existing), nullptr));
    const std::wstring before = Sddl(existing);
    common::SetLogFolder(existing);
    common::SetLogMode(common::TLogMode::lmAll);
    common::WriteLog(u"entry", u"", common::TLogLevel::llInfo);
    EXPECT_EQ(Sddl(existing), before);
    EXPECT_EQ(EveryoneFullAccessEntries(existing), 0);
}
