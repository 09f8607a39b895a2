#include "shell/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace daro {

void (*afterNewFileWritten)() = nullptr;

std::string describeFileProblem(FileProblem problem, int error) {
    switch (problem) {
        case FileProblem::none: return "";
        case FileProblem::missing: return "ファイルが見つかりません";
        case FileProblem::noPermission: return "ファイルを読む権限がありません";
        case FileProblem::folder: return "ファイルではなくフォルダです";
        case FileProblem::notRegular: return "通常のファイルではありません";
        case FileProblem::tooLarge: return "ファイルが大きすぎます";
        case FileProblem::readError: break;
    }
    return "ファイルを読めませんでした (エラー番号 " + std::to_string(error) + ")";
}

namespace {

FileProblem problemOfOpenError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return FileProblem::missing;
        case EACCES:
        case EPERM: return FileProblem::noPermission;
        case EISDIR: return FileProblem::folder;
        default: return FileProblem::readError;
    }
}

FileContents failed(FileProblem problem, int error = 0) {
    FileContents out;
    out.problem = problem;
    out.error = error;
    return out;
}

// Every try of a new file gets a name of its own, so two games saving at
// once never write into the same new file.
std::filesystem::path newFileBeside(const std::filesystem::path& target, unsigned attempt) {
    static std::mt19937 names{std::random_device{}()};
    std::string name = "." + target.filename().string() + "." + std::to_string(attempt) + "-" +
                       std::to_string(names() % 1000000000u) + ".new";
    return target.parent_path() / name;
}

// The file a chain of symbolic links ends at; the path itself when it is none.
std::filesystem::path followLinks(std::filesystem::path path) {
    namespace fs = std::filesystem;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) break;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

}  // namespace

#if !defined(_WIN32)

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes.remove_prefix(std::size_t(done));
    }
    return true;
}

int createNewFile(const std::filesystem::path& target, std::filesystem::path& made) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        made = newFileBeside(target, attempt);
        const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

FileContents readRegularFile(const std::filesystem::path& path, std::size_t largest) {
    // Without O_NONBLOCK, opening a named pipe waits for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return failed(problemOfOpenError(errno), errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0) return failed(FileProblem::readError, errno);
    if (S_ISDIR(st.st_mode)) return failed(FileProblem::folder);
    if (!S_ISREG(st.st_mode)) return failed(FileProblem::notRegular);
    if (std::uintmax_t(st.st_size) > largest) return failed(FileProblem::tooLarge);

    // The file may grow while it is read: one byte past the limit tells.
    FileContents out;
    out.bytes.resize(std::size_t(st.st_size) + 1);
    std::size_t have = 0;
    while (true) {
        if (have == out.bytes.size()) {
            if (have > largest) return failed(FileProblem::tooLarge);
            out.bytes.resize(std::min(have * 2 + 1, largest + 1));
        }
        const ssize_t got = ::read(fd, out.bytes.data() + have, out.bytes.size() - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return failed(FileProblem::readError, errno);
        if (got == 0) break;
        have += std::size_t(got);
    }
    if (have > largest) return failed(FileProblem::tooLarge);
    out.bytes.resize(have);
    return out;
}

bool replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path target = followLinks(path);
    struct stat old {};
    const bool hadFile = ::stat(target.c_str(), &old) == 0;
    if (!hadFile && errno != ENOENT) return false;
    if (hadFile && !S_ISREG(old.st_mode)) return false;

    std::filesystem::path made;
    const int fd = createNewFile(target, made);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    // The new file keeps who may read the old one.
    if (ok && hadFile) ::fchmod(fd, old.st_mode & 07777);
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && afterNewFileWritten != nullptr) afterNewFileWritten();
    ok = ok && ::rename(made.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(made.c_str());
        return false;
    }
    // The rename itself reaches the disk with its folder.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

#else  // Windows has no named pipes in folders; the checks by name do.

FileContents readRegularFile(const std::filesystem::path& path, std::size_t largest) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return failed(FileProblem::missing);
    if (fs::is_directory(status)) return failed(FileProblem::folder);
    if (!fs::is_regular_file(status)) return failed(FileProblem::notRegular);
    std::ifstream in(path, std::ios::binary);
    if (!in) return failed(FileProblem::noPermission);
    FileContents out;
    out.bytes.resize(largest + 1);
    in.read(out.bytes.data(), std::streamsize(out.bytes.size()));
    if (in.bad()) return failed(FileProblem::readError, EIO);
    out.bytes.resize(std::size_t(in.gcount()));
    if (out.bytes.size() > largest) return failed(FileProblem::tooLarge);
    return out;
}

bool replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const fs::path target = followLinks(path);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) return false;
    const fs::path made = newFileBeside(target, 0);
    {
        std::ofstream out(made, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(made, ec);
            return false;
        }
    }
    if (afterNewFileWritten != nullptr) afterNewFileWritten();
    fs::rename(made, target, ec);
    if (!ec) return true;
    fs::remove(made, ec);
    return false;
}

#endif

}  // namespace daro
