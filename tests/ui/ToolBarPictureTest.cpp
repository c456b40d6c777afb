// The tool-bar picture named in the preferences: a file that is not a plain picture file never holds
// up the start.

#include "settings/IniFile.h"
#include "ui/shell/MainFrame.h"
#include "ui/support/ProgramFixture.h"

#include <QFile>
#include <QImage>
#include <QLabel>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace srk;

namespace {

class ToolBarPicture : public srk::testing::ProgramFixture {
protected:
    void setLogo(const QString& file) {
        IniFile ini(config.file(QStringLiteral("SRKRO97.INI")));
        ini.writeString(QStringLiteral("Settings"), QStringLiteral("Logo"), file);
        ASSERT_TRUE(ini.save());
    }
    const QPixmap shownPicture() {
        auto* label = program->frame()->findChild<QLabel*>(QStringLiteral("ToolBarPicture"));
        return label ? label->pixmap() : QPixmap();
    }
};

TEST_F(ToolBarPicture, ANamedPipeAsTheLogoLeavesTheBuiltInPictureWithoutWaiting) {
    const QString pipe = config.file(QStringLiteral("logo.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_NO_FATAL_FAILURE(setLogo(pipe));

    // Frees a start caught opening the pipe, and remembers that it was: the test fails, never hangs.
    std::atomic<bool> stop{false}, caught{false};
    std::thread guard([&] {
        const QByteArray path = QFile::encodeName(pipe);
        while (!stop) {
            const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                caught = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    startProgram();
    stop = true;
    guard.join();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(caught);
    // The built-in picture is shown, as with no logo named.
    const QImage shown = shownPicture().toImage();
    EXPECT_FALSE(shown.isNull());
    program->frame()->setToolBarPicture(QString());
    EXPECT_EQ(shown, shownPicture().toImage());
}

}  // namespace
