#include "ChildProcess.h"

#include "Samples.h"

#include "platform/app/Error.h"

#include <QFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

namespace quorvel::bench {

namespace {

// posix_spawn's argument and environment arrays, kept alive with their strings.
class CStrings {
public:
    explicit CStrings(const QStringList& items)
    {
        for (const QString& item : items)
            bytes_.push_back(item.toLocal8Bit());
        for (QByteArray& b : bytes_)
            pointers_.push_back(b.data());
        pointers_.push_back(nullptr);
    }
    char** get() { return pointers_.data(); }

private:
    std::vector<QByteArray> bytes_;
    std::vector<char*> pointers_;
};

// The file actions of one spawn: output to /dev/null, standard error to `errors`.
class FileActions {
public:
    explicit FileActions(const QByteArray& errors)
    {
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions_, 2, errors.constData(), O_WRONLY | O_TRUNC, 0);
    }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

// Kills a child that has not ended in time, so that a program that never quits (a start-up
// whose exit hook broke, a batch report waiting on a lock) stops the benchmark instead of
// hanging it. The wait for the child itself stays a plain blocking wait, so that the
// watching adds nothing to the times measured.
class Watchdog {
public:
    Watchdog(pid_t pid, std::chrono::seconds limit)
        : thread_([this, pid, limit] {
              std::unique_lock lock(mutex_);
              if (!ended_.wait_for(lock, limit, [this] { return done_; })) {
                  fired_ = true;
                  ::kill(pid, SIGKILL);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        ended_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    bool fired()
    {
        std::lock_guard lock(mutex_);
        return fired_;
    }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    bool fired_ = false;
    std::thread thread_; // last: it starts once the rest is ready
};

constexpr std::chrono::seconds childLimit{300};

} // namespace

ChildCost runChild(const QString& program, const QStringList& arguments, const QStringList& environment)
{
    QStringList env;
    for (char** e = environ; *e; ++e)
        env << QString::fromLocal8Bit(*e);
    for (const QString& line : environment) {
        const QString name = line.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        env.erase(
            std::remove_if(env.begin(), env.end(), [&](const QString& l) { return l.startsWith(name); }),
            env.end());
        env << line;
    }
    QTemporaryFile errors;
    if (!errors.open())
        throw Error(QStringLiteral("No scratch file for a child's errors"));
    const QByteArray errorsPath = QFile::encodeName(errors.fileName());

    CStrings argv(QStringList{program} + arguments);
    CStrings envp(env);
    FileActions actions(errorsPath);
    const QByteArray path = QFile::encodeName(program);

    Stopwatch watch;
    watch.start();
    pid_t pid = 0;
    if (const int failed =
            posix_spawn(&pid, path.constData(), actions.get(), nullptr, argv.get(), envp.get()))
        throw Error(QStringLiteral("Cannot start %1: %2")
                        .arg(program, QString::fromLocal8Bit(std::strerror(failed))));
    int status = 0;
    rusage usage{};
    bool killed = false;
    {
        Watchdog watchdog(pid, childLimit);
        while (wait4(pid, &status, 0, &usage) < 0)
            if (errno != EINTR)
                throw Error(QStringLiteral("Lost the child %1").arg(program));
        watch.stop();
        killed = watchdog.fired();
    }
    if (killed)
        throw Error(QStringLiteral("%1 did not end within %2 s").arg(program).arg(childLimit.count()));

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw Error(QStringLiteral("%1 failed (status %2): %3")
                        .arg(program)
                        .arg(status)
                        .arg(QString::fromLocal8Bit(errors.readAll())));
    return {watch.seconds(), double(usage.ru_maxrss) / 1024.0}; // ru_maxrss is in KiB
}

} // namespace quorvel::bench
