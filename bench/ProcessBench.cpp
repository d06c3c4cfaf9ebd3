#include "bridge/ADBService.h"
#include "bridge/ProcessExecution.h"

#include <QCoro/QCoroTask>
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

pid_t spawnShell(const char *script, int outFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    const char *argv[] = {"/bin/sh", "-c", script, nullptr};
    pid_t pid = -1;
    posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char **>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

constexpr const char *kLargeOutput = "head -c 67108864 /dev/zero | tr '\\0' 'a'";

void BM_SpawnBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        const char *argv[] = {"/bin/true", nullptr};
        pid_t pid = -1;
        posix_spawn(&pid, "/bin/true", nullptr, nullptr, const_cast<char **>(argv), environ);
        int status = 0;
        waitpid(pid, &status, 0);
    }
}
BENCHMARK(BM_SpawnBaseline)->Unit(benchmark::kMicrosecond);

void BM_RunTrivialChild(benchmark::State &state)
{
    const ADBService service(QStringLiteral("/bin/true"));
    for (auto _ : state) {
        const CommandResult r = QCoro::waitFor(service.run({}));
        benchmark::DoNotOptimize(r.exitCode);
    }
}
BENCHMARK(BM_RunTrivialChild)->Unit(benchmark::kMicrosecond);

void BM_ReadPipeBaseline(benchmark::State &state)
{
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        int fds[2];
        pipe(fds);
        const pid_t pid = spawnShell(kLargeOutput, fds[1]);
        close(fds[1]);
        size_t total = 0;
        ssize_t n;
        while ((n = read(fds[0], buffer.data(), buffer.size())) > 0)
            total += size_t(n);
        close(fds[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadPipeBaseline)->Unit(benchmark::kMillisecond);

void BM_RunLargeOutput(benchmark::State &state)
{
    for (auto _ : state) {
        const CommandResult r = runProcess(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromLatin1(kLargeOutput)});
        benchmark::DoNotOptimize(r.stdOut.size());
    }
}
BENCHMARK(BM_RunLargeOutput)->Unit(benchmark::kMillisecond);

} // namespace
