// Running a program on Windows: CreateProcessW with a command line quoted as
// the C runtime splits it again, standard input from NUL, standard output
// and error into temporary files.
#include <windows.h>

#include <cstdio>
#include <string_view>

#include "test_support/program_run.h"

namespace gm_test {

namespace {

// Quotes one argument so that the program's C runtime gets it back exactly.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

std::wstring Wide(const std::string& text) {
  return std::filesystem::path(text).wstring();
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (::towupper(a[i]) != ::towupper(b[i])) return false;
  }
  return true;
}

// The environment block: this process's variables with the changes applied.
std::wstring EnvironmentBlock(const ProgramEnvironment& changes) {
  std::vector<std::wstring> entries;
  wchar_t* own = ::GetEnvironmentStringsW();
  for (const wchar_t* at = own; at && *at; at += wcslen(at) + 1) {
    const std::wstring entry(at);
    const std::wstring_view name = std::wstring_view(entry).substr(0, entry.find(L'=', 1));
    bool changed = false;
    for (const std::string& unset : changes.unset) changed |= SameName(name, Wide(unset));
    for (const auto& [key, value] : changes.values) changed |= SameName(name, Wide(key));
    if (!changed) entries.push_back(entry);
  }
  if (own) ::FreeEnvironmentStringsW(own);
  for (const auto& [key, value] : changes.values) entries.push_back(Wide(key) + L"=" + Wide(value));
  std::wstring block;
  for (const std::wstring& entry : entries) {
    block += entry;
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

// An inheritable temporary file, deleted when its handle closes.
HANDLE CaptureFile() {
  wchar_t folder[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  if (::GetTempPathW(MAX_PATH + 1, folder) == 0 ||
      ::GetTempFileNameW(folder, L"gmr", 0, name) == 0) {
    return INVALID_HANDLE_VALUE;
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// The program's output as text: a console program writes its line ends as
// CR LF on Windows, and they are given back as LF, as on the other systems.
std::string ReadAll(HANDLE file) {
  std::string text;
  if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return text;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    text.append(buffer, got);
  }
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines.push_back(text[i]);
  }
  return lines;
}

}  // namespace

ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const ProgramEnvironment& environment) {
  ProgramRun run;
  const HANDLE out = CaptureFile();
  const HANDLE err = CaptureFile();
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE in = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherit, OPEN_EXISTING, 0, nullptr);
  const auto close_all = [&] {
    for (HANDLE h : {out, err, in}) {
      if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
  };
  if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE || in == INVALID_HANDLE_VALUE) {
    close_all();
    return run;
  }

  std::wstring command_line = Quoted(program.wstring());
  for (const std::string& argument : arguments) command_line += L" " + Quoted(Wide(argument));
  std::wstring env = EnvironmentBlock(environment);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                        CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, env.data(), nullptr,
                        &startup, &process)) {
    close_all();
    return run;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  if (::GetExitCodeProcess(process.hProcess, &code)) run.exit_code = static_cast<int>(code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  close_all();
  return run;
}

}  // namespace gm_test
