#pragma once
// A daro-server started by a test: its own data folder, a port of its own
// choosing, its log kept. Killed at the end of the test, however it ends.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace daro::test {

class ServerProcess {
public:
    explicit ServerProcess(std::string dataFolder, std::vector<std::string> extra = {},
                           std::string program = DARO_SERVER_PATH)
        : data_(std::move(dataFolder)), extra_(std::move(extra)), program_(std::move(program)) {
        start();
    }
    ~ServerProcess() { stop(SIGKILL); }

    unsigned short port() const { return port_; }
    bool running() const { return pid_ > 0; }

    // SIGKILL: no chance to tidy up, as when the machine loses the process.
    void stop(int signal = SIGTERM) {
        if (pid_ <= 0) return;
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        if (reader_.joinable()) reader_.join();
    }

    // Starts again on the same data folder (the port may change).
    void restart() {
        stop(SIGKILL);
        start();
    }

    std::string log() {
        std::lock_guard lock(mutex_);
        return log_;
    }

private:
    void start() {
        {
            std::lock_guard lock(mutex_);
            log_.clear();
        }
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 2);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<std::string> args = {program_, "--listen", "127.0.0.1:0", "--data", data_};
            args.insert(args.end(), extra_.begin(), extra_.end());
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        port_ = 0;
        // The log is read to its end by a thread, so the server never waits on a full pipe.
        reader_ = std::thread([this, fd = out[0]] {
            char chunk[4096];
            ssize_t n;
            while ((n = ::read(fd, chunk, sizeof chunk)) > 0) {
                std::lock_guard lock(mutex_);
                log_.append(chunk, static_cast<std::size_t>(n));
            }
            ::close(fd);
        });
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (port_ == 0 && std::chrono::steady_clock::now() < end) {
            {
                std::lock_guard lock(mutex_);
                // ws:// or, with a certificate, wss://
                const std::string marker = "://127.0.0.1:";
                const auto line = log_.rfind("listening on ");
                const auto at = line == std::string::npos ? line : log_.find(marker, line);
                if (at != std::string::npos && log_.find(' ', at + marker.size()) != std::string::npos)
                    port_ = static_cast<unsigned short>(std::stoi(log_.substr(at + marker.size())));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::string data_;
    std::vector<std::string> extra_;
    std::string program_;
    pid_t pid_ = -1;
    unsigned short port_ = 0;
    std::thread reader_;
    std::mutex mutex_;
    std::string log_;
};

}  // namespace daro::test
