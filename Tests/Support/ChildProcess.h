#pragma once

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

// A program started in a working directory of its own, with its standard
// output and standard error captured. The process is killed and reaped with
// the object if it still runs, and it is killed by the system when the thread
// that started it ends without that: when this process dies by a signal, say
// a test runner's timeout, or exits without unwinding. So no program that a
// test started outlives it.
class ChildProcess
{
public:
    // Variables set for the program on top of this process's environment.
    using Environment = std::map<std::string, std::string>;

    // The program (command[0]) is looked up on PATH. Throws std::runtime_error
    // when the process cannot be created.
    ChildProcess(const std::vector<std::string>& command, const std::string& directory,
                 const Environment& environment);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid; }

    // Polls until the process has ended or the timeout has passed; true when
    // it has ended.
    bool WaitForExit(std::chrono::milliseconds timeout);
    // Polls until the standard output holds the text; true when it does.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds timeout);
    bool HasExited();
    // The status passed to exit, or 128 plus the signal that ended the
    // process; -1 while it runs.
    int ExitStatus() const { return status; }
    // The most memory the process held at once (its largest resident set, in
    // bytes), known once it has ended. It counts the memory this process held
    // when it started the program, so keep that small.
    long long PeakMemory() const { return peakMemory; }

    void Signal(int signal);

    // Everything written so far.
    std::string Output() const;
    std::string Errors() const;

private:
    void Reap(int options);

    pid_t pid = -1;
    int status = -1;
    long long peakMemory = 0;
    std::FILE* output;
    std::FILE* errors;
};

struct ToolRun
{
    bool succeeded; // ended in time with status 0
    std::string output;
    std::string errors;
};

// Runs a tool to its end, or kills it at the timeout.
ToolRun RunTool(const std::vector<std::string>& command,
                const ChildProcess::Environment& environment, std::chrono::milliseconds timeout);
