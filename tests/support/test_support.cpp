#include "tests/support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QPixmap>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/shell/companion_library.h"

namespace lumoset::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const char* base = std::getenv("TMPDIR");
    fs::path root = base && *base ? fs::path(base) : fs::temp_directory_path();
    path_ = root / ("t" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        if (QCoreApplication::instance() &&
            QThread::currentThread() == QCoreApplication::instance()->thread()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QThread::msleep(5);
    }
    return true;
}

void installLibrary(const fs::path& built, const std::string& fileName) {
    const fs::path folder = privateTemporaryFolder();
    const fs::path partial = folder / (fileName + ".installing");
    fs::copy_file(built, partial, fs::copy_options::overwrite_existing);
    fs::rename(partial, folder / fileName);
}

void typeText(QWidget* control, const QString& text) {
    control->setFocus();
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(control, Qt::Key_Return);
        } else if (c.unicode() < 0x80) {
            QTest::keyClick(control, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(c);
            QApplication::sendEvent(control, &commit);
        }
    }
}

void saveScreenshot(QWidget& widget, const std::string& name) {
    const QByteArray dir = qgetenv("LUMOSET_SCREENSHOT_DIR");
    if (dir.isEmpty()) {
        return;
    }
    QDir().mkpath(QString::fromUtf8(dir));
    widget.grab().save(QString::fromUtf8(dir) + "/" + QString::fromStdString(name) + ".png");
}

ChildResult runInChild(const std::function<void()>& body) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {};
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        ::dup2(pipeFds[1], STDERR_FILENO);
        body();
        std::fflush(nullptr);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    ChildResult result;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        result.errorOutput.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace lumoset::test
