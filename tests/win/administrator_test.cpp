// IsAdministrator through its token seam: the rights Wine cannot show (it always runs as
// an administrator), and failing token queries.
#include "env/administrator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct FakeToken {
  bool nt = true;
  bool threadOpens = false;
  DWORD threadError = ERROR_NO_TOKEN;
  bool processOpens = true;
  DWORD sizeError = ERROR_INSUFFICIENT_BUFFER;
  bool queryWorks = true;
  std::vector<std::pair<PSID, DWORD>> groups;
  DWORD lastError = 0;
  bool usedProcessToken = false;
};
FakeToken fake;

HANDLE FakeHandle() {
  // A real handle, so that closing it is harmless.
  HANDLE h = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS);
  return h;
}

bool FakeIsNt() { return fake.nt; }
BOOL WINAPI FakeOpenThreadToken(HANDLE, DWORD, BOOL, PHANDLE token) {
  if (!fake.threadOpens) {
    fake.lastError = fake.threadError;
    return FALSE;
  }
  *token = FakeHandle();
  return TRUE;
}
BOOL WINAPI FakeOpenProcessToken(HANDLE, DWORD, PHANDLE token) {
  fake.usedProcessToken = true;
  if (!fake.processOpens) {
    fake.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  *token = FakeHandle();
  return TRUE;
}
BOOL WINAPI FakeGetTokenInformation(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID buffer, DWORD size, PDWORD needed) {
  const DWORD bytes = sizeof(TOKEN_GROUPS) + static_cast<DWORD>(fake.groups.size()) * sizeof(SID_AND_ATTRIBUTES);
  *needed = bytes;
  if (!buffer || size < bytes) {
    fake.lastError = fake.sizeError;
    return FALSE;
  }
  if (!fake.queryWorks) {
    fake.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  auto* groups = static_cast<TOKEN_GROUPS*>(buffer);
  groups->GroupCount = static_cast<DWORD>(fake.groups.size());
  for (size_t i = 0; i < fake.groups.size(); ++i) {
    groups->Groups[i].Sid = fake.groups[i].first;
    groups->Groups[i].Attributes = fake.groups[i].second;
  }
  return TRUE;
}
DWORD WINAPI FakeGetLastError() { return fake.lastError; }

const TokenApi FakeApi = {FakeIsNt, FakeOpenThreadToken, FakeOpenProcessToken, FakeGetTokenInformation, FakeGetLastError};

PSID BuiltinSid(DWORD rid) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0, 0, &sid);
  return sid;
}

class IsAdministratorTest : public ::testing::Test {
 protected:
  void SetUp() override { fake = FakeToken(); }
  void TearDown() override {
    FreeSid(admins);
    FreeSid(users);
  }
  PSID admins = BuiltinSid(DOMAIN_ALIAS_RID_ADMINS);
  PSID users = BuiltinSid(DOMAIN_ALIAS_RID_USERS);
};
}  // namespace

TEST_F(IsAdministratorTest, CountsOnlyAnEnabledAdministratorsGroup) {
  // The administrators' group's attributes, and the answer; deny-only: a restricted token.
  for (const auto& [attributes, expected] :
       {std::pair<DWORD, bool>{SE_GROUP_ENABLED | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_MANDATORY, true},
        {SE_GROUP_ENABLED, true},
        {SE_GROUP_USE_FOR_DENY_ONLY, false},
        {SE_GROUP_ENABLED | SE_GROUP_USE_FOR_DENY_ONLY, false},
        {0, false}}) {
    fake.groups = {{users, SE_GROUP_ENABLED}, {admins, attributes}};
    EXPECT_EQ(IsAdministrator(FakeApi), expected) << attributes;
  }
  fake.groups = {{users, SE_GROUP_ENABLED}};
  EXPECT_FALSE(IsAdministrator(FakeApi));
  fake.groups = {};
  EXPECT_FALSE(IsAdministrator(FakeApi));
  fake.nt = false;  // never on the Windows 95 family
  fake.groups = {{admins, SE_GROUP_ENABLED}};
  EXPECT_FALSE(IsAdministrator(FakeApi));
}

TEST_F(IsAdministratorTest, FallsBackToTheProcessTokenOnlyWhenTheThreadHasNoneAndAnyFailureMeansNo) {
  fake.groups = {{admins, SE_GROUP_ENABLED}};
  EXPECT_TRUE(IsAdministrator(FakeApi));
  EXPECT_TRUE(fake.usedProcessToken);

  fake.usedProcessToken = false;
  fake.threadOpens = true;
  EXPECT_TRUE(IsAdministrator(FakeApi));
  EXPECT_FALSE(fake.usedProcessToken);

  fake.threadOpens = false;
  fake.threadError = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(IsAdministrator(FakeApi));
  EXPECT_FALSE(fake.usedProcessToken);
  // Any other failing query means no.
  fake.threadError = ERROR_NO_TOKEN;
  fake.processOpens = false;
  EXPECT_FALSE(IsAdministrator(FakeApi));
  fake.processOpens = true;
  fake.sizeError = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(IsAdministrator(FakeApi));
  fake.sizeError = ERROR_INSUFFICIENT_BUFFER;
  fake.queryWorks = false;
  EXPECT_FALSE(IsAdministrator(FakeApi));
}
