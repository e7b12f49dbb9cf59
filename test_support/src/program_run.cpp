#include "test_support/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>

extern char** environ;

namespace gm_test {

namespace {

// A temporary file that is already unlinked: it vanishes with its last
// descriptor.
class CaptureFile {
 public:
  CaptureFile() : file_(std::tmpfile()) {}
  ~CaptureFile() {
    if (file_) std::fclose(file_);
  }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  int fd() const { return file_ ? fileno(file_) : -1; }

  std::string Text() const {
    std::string text;
    if (!file_ || ::lseek(fd(), 0, SEEK_SET) != 0) return text;
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(fd(), buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
  }

 private:
  std::FILE* file_;
};

std::string_view NameOf(std::string_view entry) {
  return entry.substr(0, entry.find('='));
}

std::vector<std::string> ChildEnvironment(const ProgramEnvironment& changes) {
  auto changed = [&changes](std::string_view name) {
    return std::find(changes.unset.begin(), changes.unset.end(), name) != changes.unset.end() ||
           std::any_of(changes.values.begin(), changes.values.end(),
                       [name](const auto& value) { return value.first == name; });
  };
  std::vector<std::string> entries;
  for (char** entry = environ; *entry; ++entry) {
    if (!changed(NameOf(*entry))) entries.emplace_back(*entry);
  }
  for (const auto& [name, value] : changes.values) entries.push_back(name + "=" + value);
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const ProgramEnvironment& environment) {
  ProgramRun run;
  CaptureFile out;
  CaptureFile err;
  if (out.fd() < 0 || err.fd() < 0) return run;

  std::vector<std::string> argv_texts{program.string()};
  argv_texts.insert(argv_texts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> env_texts = ChildEnvironment(environment);
  std::vector<char*> argv = Pointers(argv_texts);
  std::vector<char*> envp = Pointers(env_texts);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out.fd(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.fd(), STDERR_FILENO);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, argv_texts[0].c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;

  int status = 0;
  bool killed = false;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(kProgramTimeLimitSeconds);
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, killed ? 0 : WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return run;
    if (done == 0 && std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      killed = true;
    } else if (done == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  run.exit_code = killed ? 124 : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = out.Text();
  run.err = err.Text();
  if (killed) {
    run.err += "(killed after " + std::to_string(kProgramTimeLimitSeconds) + " s)\n";
  }
  return run;
}

}  // namespace gm_test
