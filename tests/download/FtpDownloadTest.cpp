#include "DownloadFixture.h"

#include "platform/Paths.h"
#include "support/Subprocess.h"

#include <fstream>
#include <thread>

namespace flk {
namespace {

using test::Pattern;

// A real FTP server (pyftpdlib) on an ephemeral loopback port, serving a
// folder; user "ann" with password "pw", anonymous read too. Sending is
// throttled so that a large file takes a few seconds.
constexpr char kServerScript[] = R"(
import os, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer
root, portfile = sys.argv[1], sys.argv[2]
auth = DummyAuthorizer()
auth.add_user("ann", "pw", root, perm="elr")
auth.add_anonymous(root)
dtp = ThrottledDTPHandler
dtp.write_limit = 400 * 1024
handler = FTPHandler
handler.authorizer = auth
handler.auth_failed_timeout = 0.2
handler.dtp_handler = dtp
server = FTPServer(("127.0.0.1", 0), handler)
with open(portfile + ".tmp", "w") as f:
    f.write(str(server.socket.getsockname()[1]))
os.rename(portfile + ".tmp", portfile)
server.serve_forever()
)";

class FtpDownloadTest : public test::DownloadFixture {
protected:
    void SetUp() override {
        std::filesystem::create_directories(site.Path() + "/media");
        site.Write("media/tune.mp3", Pattern(70000));
        site.Write("big.avi", Pattern(3 * 1024 * 1024));
        script.Write("ftpd.py", kServerScript);
        const std::string portFile = script.File("port");
        ftpd = std::make_unique<test::Subprocess>(
            std::vector<std::string>{"/usr/bin/python3", script.File("ftpd.py"), site.Path(), portFile},
            std::vector<std::string>{}, script.File("ftpd.log"));
        for (int i = 0; i < 200 && !FileExists(portFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        ASSERT_TRUE(FileExists(portFile)) << script.Read("ftpd.log");
        port = script.Read("port");
    }
    std::string Url(const std::string& path, const std::string& login = "") const {
        return "ftp://" + login + "127.0.0.1:" + port + path;
    }

    test::TempDir site, script;
    std::unique_ptr<test::Subprocess> ftpd;
    std::string port;
};

TEST_F(FtpDownloadTest, FilesFailuresAndLogins) {
    // One at a time: two of them want the name "tune.mp3".
    Manager().SetOptions(false, 0, 1);
    Add(Url("/media/tune.mp3"));
    Add(Url("/media/absent.mp3"));
    Add(Url("/media/tune.mp3", "ann:wrong@"));
    WaitIdle();
    EXPECT_EQ(Finished(Url("/media/tune.mp3")).result, "Finished successfully");
    EXPECT_EQ(Finished(Url("/media/absent.mp3")).code, 4);
    EXPECT_EQ(Finished(Url("/media/tune.mp3", "ann:wrong@")).result, "Access denied");
    EXPECT_EQ(Files(), (std::vector<std::string>{"tune.mp3"}));
    EXPECT_EQ(dir.Read("tune.mp3"), Pattern(70000));

    // The right password, given by the job.
    Manager().AddDownload(Url("/media/tune.mp3", "ann@"), dir.Path(), "ann", "pw", ExistingFilePolicy::Rename);
    WaitIdle();
    EXPECT_EQ(Finished(Url("/media/tune.mp3", "ann@")).code, 1);
    EXPECT_EQ(dir.Read("tune (1).mp3"), Pattern(70000));
}

TEST_F(FtpDownloadTest, LargeFileStoppedThenContinued) {
    const std::string body = Pattern(3 * 1024 * 1024);
    Add(Url("/big.avi"));
    bool sized = false;
    for (int i = 0; i < 1000; ++i) {
        const auto view = Manager().View();
        if (!view.waiting.empty() && view.waiting[0].received >= 300 * 1024) {
            sized = view.waiting[0].total == static_cast<std::int64_t>(body.size());
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(sized);
    Manager().StopDownloads({Url("/big.avi")});
    WaitIdle();
    EXPECT_EQ(Finished(Url("/big.avi")).result, "Interrupted by user");
    EXPECT_FALSE(FileExists(dir.File("big.avi")));
    const std::string part = dir.Read("big.avi.part");
    ASSERT_GE(part.size(), 300u * 1024);
    ASSERT_LT(part.size(), body.size());
    EXPECT_EQ(part, body.substr(0, part.size()));

    // Started again, it continues from the part (REST) and completes.
    Add(Url("/big.avi"));
    WaitIdle();
    EXPECT_EQ(Finished(Url("/big.avi")).code, 1);
    EXPECT_EQ(Files(), (std::vector<std::string>{"big.avi"}));
    EXPECT_TRUE(dir.Read("big.avi") == body);
}

}  // namespace
}  // namespace flk
