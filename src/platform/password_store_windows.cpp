// Passwords kept by Windows Credential Manager: one generic credential per protocol, host and
// user, named "pairweb:PROTOCOL://USER@HOST", for this user on this computer.
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <wincred.h>

#include "platform/os.h"
#include "platform/password_store.h"

namespace pairweb::platform {
namespace {

std::wstring wide(const std::string& utf8) { return os::toNative(utf8).wstring(); }

std::wstring targetName(const PasswordKey& key) {
    return wide("pairweb:" + key.protocol + "://" + key.user + "@" + key.host);
}

class CredentialManagerStore : public PasswordStore {
  public:
    std::optional<std::string> find(const PasswordKey& key) const override {
        PCREDENTIALW credential = nullptr;
        if (!CredReadW(targetName(key).c_str(), CRED_TYPE_GENERIC, 0, &credential)) {
            return std::nullopt;
        }
        // The password is kept as its UTF-8 bytes.
        std::string password(reinterpret_cast<const char*>(credential->CredentialBlob),
                             credential->CredentialBlobSize);
        SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
        CredFree(credential);
        return password;
    }

    bool remember(const PasswordKey& key, const std::string& password) override {
        std::wstring target = targetName(key);
        std::wstring user = wide(key.user);
        std::wstring comment = L"pairweb: the web host's password for publishing";
        CREDENTIALW credential{};
        credential.Type = CRED_TYPE_GENERIC;
        credential.TargetName = target.data();
        credential.Comment = comment.data();
        credential.UserName = user.data();
        credential.CredentialBlobSize = static_cast<DWORD>(password.size());
        credential.CredentialBlob = reinterpret_cast<LPBYTE>(const_cast<char*>(password.data()));
        credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
        return CredWriteW(&credential, 0) != FALSE;
    }

    ForgetResult forget(const PasswordKey& key) override {
        if (CredDeleteW(targetName(key).c_str(), CRED_TYPE_GENERIC, 0)) {
            return ForgetResult::Removed;
        }
        return GetLastError() == ERROR_NOT_FOUND ? ForgetResult::NotKept : ForgetResult::Failed;
    }

    std::string where() const override { return "Windows Credential Manager"; }
};

}  // namespace

PasswordStore& systemPasswordStore() {
    static CredentialManagerStore store;
    return store;
}

}  // namespace pairweb::platform
