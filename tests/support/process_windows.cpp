#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/os.h"
#include "support/process.h"

namespace pairweb::testing {
namespace {

std::wstring wide(const std::string& utf8) { return platform::os::toNative(utf8).wstring(); }

// One argument as CommandLineToArgvW reads it back.
std::wstring quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE inheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream s;
    s << file.rdbuf();
    return s.str();
}

}  // namespace

// Output goes to files in the temporary folder, read once the program has ended.
ProcessResult runProcess(const ProcessOptions& options) {
    ProcessResult result;
    if (options.args.empty()) return result;
    const auto folder = std::filesystem::temp_directory_path();
    const auto outPath = folder / ("pairweb-out-" + std::to_string(GetCurrentProcessId()));
    const auto errPath = folder / ("pairweb-err-" + std::to_string(GetCurrentProcessId()));
    HANDLE out = inheritableFile(outPath.wstring());
    HANDLE err = inheritableFile(errPath.wstring());
    std::wstring commandLine;
    for (const std::string& a : options.args)
        commandLine += (commandLine.empty() ? L"" : L" ") + quoted(wide(a));
    for (const std::string& entry : options.env) _putenv(entry.c_str());  // inherited
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const DWORD start = GetTickCount();
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(options.timeoutMs)) ==
            WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 124);
            WaitForSingleObject(process.hProcess, INFINITE);
            result.timedOut = true;
        }
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitStatus = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.elapsedMs = static_cast<int>(GetTickCount() - start);
    CloseHandle(out);
    CloseHandle(err);
    result.out = contents(outPath);
    result.err = contents(errPath);
    std::error_code ec;
    std::filesystem::remove(outPath, ec);
    std::filesystem::remove(errPath, ec);
    return result;
}

}  // namespace pairweb::testing
