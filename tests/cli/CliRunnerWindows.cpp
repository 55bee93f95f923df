#include <windows.h>

#include <atomic>
#include <filesystem>

#include "cli/CliRunner.h"
#include "core/base/FileIO.h"
#include "core/base/SystemTextWindows.h"
#include "support/TempDir.h"

namespace tovarin::test {
namespace {

// A word of the command line, quoted so that CommandLineToArgvW gives it
// back unchanged: backslashes double only before a quote.
std::wstring Quoted(const std::wstring& word) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::string TempFile(const char* tag) {
    static std::atomic<unsigned> serial{0};
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("tovarin-cli-" + std::to_string(GetCurrentProcessId()) +
                                        "-" + std::to_string(serial++) + "-" + tag);
    return Utf8Path(path);
}

// Wine on a busy machine now and then fails to create a process: the new
// one ends before it has started, and CreateProcessW returns FALSE. The
// program never ran, so it is started again; a start that keeps failing
// says why, instead of passing for an exit status.
bool Start(std::wstring& commandLine, STARTUPINFOW& startup, PROCESS_INFORMATION& process,
           std::string& why) {
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &startup, &process)) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt == kAttempts) {
            why = "[the test could not start " + std::string(TOVARIN_CLI) + ": " +
                  SystemMessage(error) + "]";
            return false;
        }
        Sleep(1000);
    }
}

HANDLE Inherited(const std::string& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(Utf8ToWide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& input) {
    const std::string inPath = TempFile("in");
    const std::string outPath = TempFile("out");
    const std::string errPath = TempFile("err");
    WriteFileAtomically(inPath, input);

    std::wstring commandLine = Quoted(Utf8ToWide(TOVARIN_CLI));
    for (const std::string& arg : args) {
        commandLine += L" " + Quoted(Utf8ToWide(arg));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inherited(inPath, GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = Inherited(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = Inherited(errPath, GENERIC_WRITE, CREATE_ALWAYS);

    CliResult result;
    PROCESS_INFORMATION process{};
    std::string notStarted;
    if (Start(commandLine, startup, process, notStarted)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 0;
        GetExitCodeProcess(process.hProcess, &status);
        result.status = static_cast<int>(status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        CloseHandle(handle);
    }
    result.out = ReadWholeFile(outPath);
    result.err = ReadWholeFile(errPath) + notStarted;
    for (const std::string& path : {inPath, outPath, errPath}) {
        std::filesystem::remove(FsPath(path));
    }
    return result;
}

}  // namespace tovarin::test
