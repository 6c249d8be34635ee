#include "Support/ChildProcess.h"

#include "Support/Deadline.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

// "NAME=value" for every variable of this process, replaced or extended by
// the given ones.
std::vector<std::string> MergeEnvironment(const ChildProcess::Environment& environment)
{
    std::vector<std::string> merged;
    for (char** variable = environ; *variable; ++variable)
    {
        const std::string entry = *variable;
        if (!environment.count(entry.substr(0, entry.find('='))))
            merged.push_back(entry);
    }
    for (const auto& [name, value] : environment)
        merged.push_back(name + "=" + value);
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::string ReadAll(std::FILE* file)
{
    std::string content;
    char buffer[4096];
    off_t offset = 0;
    ssize_t count;
    while ((count = pread(fileno(file), buffer, sizeof buffer, offset)) > 0)
    {
        content.append(buffer, static_cast<std::size_t>(count));
        offset += count;
    }
    return content;
}

// In the child before exec: asks for SIGKILL when the parent's thread ends,
// and leaves at once if the parent is already gone.
bool DieWithParent(pid_t parent)
{
    return prctl(PR_SET_PDEATHSIG, SIGKILL) == 0 && getppid() == parent;
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& command, const std::string& directory,
                           const Environment& environment)
    : output(std::tmpfile()), errors(std::tmpfile())
{
    if (!output || !errors || command.empty())
        throw std::runtime_error("Cannot start a process");
    std::vector<std::string> arguments = command;
    std::vector<std::string> variables = MergeEnvironment(environment);
    const std::vector<char*> argv = Pointers(arguments);
    const std::vector<char*> envp = Pointers(variables);

    std::fflush(nullptr);
    const pid_t parent = getpid();
    pid = fork();
    if (pid < 0)
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    if (pid == 0)
    {
        const int input = open("/dev/null", O_RDONLY);
        if (!DieWithParent(parent) || input < 0 || dup2(input, 0) < 0 ||
            dup2(fileno(output), 1) < 0 || dup2(fileno(errors), 2) < 0 ||
            (!directory.empty() && chdir(directory.c_str()) < 0))
            _exit(127);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess()
{
    if (!HasExited())
    {
        kill(pid, SIGKILL);
        Reap(0);
    }
    std::fclose(output);
    std::fclose(errors);
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds timeout)
{
    return PollUntil(Deadline(timeout), [this] { return HasExited(); });
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds timeout)
{
    return PollUntil(Deadline(timeout), [&] { return Output().find(text) != std::string::npos; });
}

bool ChildProcess::HasExited()
{
    if (status < 0)
        Reap(WNOHANG);
    return status >= 0;
}

void ChildProcess::Signal(int signal)
{
    if (!HasExited())
        kill(pid, signal);
}

std::string ChildProcess::Output() const
{
    return ReadAll(output);
}

std::string ChildProcess::Errors() const
{
    return ReadAll(errors);
}

void ChildProcess::Reap(int options)
{
    int result;
    rusage usage = {};
    if (wait4(pid, &result, options, &usage) != pid)
        return;
    peakMemory = static_cast<long long>(usage.ru_maxrss) * 1024;
    if (WIFEXITED(result))
        status = WEXITSTATUS(result);
    else if (WIFSIGNALED(result))
        status = 128 + WTERMSIG(result);
}

ToolRun RunTool(const std::vector<std::string>& command,
                const ChildProcess::Environment& environment, std::chrono::milliseconds timeout)
{
    ChildProcess tool(command, "", environment);
    const bool ended = tool.WaitForExit(timeout);
    return {ended && tool.ExitStatus() == 0, tool.Output(), tool.Errors()};
}
