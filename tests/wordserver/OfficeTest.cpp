#include <gtest/gtest.h>
#include <atomic>
#include <filesystem>

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fstream>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "BatchForm.h"
#include "Fixtures.h"
#include "Office.h"
#include "OfficeSockets.h"
#include "TestFolder.h"
#include "WordEngine.h"
#include "WordObject.h"
#include "WordObjects.h"
#include "automation/AutomationError.h"
#include "automation/OleObject.h"
#include "automation/ProgIdTable.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

// A process counts as gone once it has exited, reaped or not.
bool processGone(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

bool waitGone(pid_t pid, std::chrono::milliseconds bound)
{
    const auto until = std::chrono::steady_clock::now() + bound;
    while (!processGone(pid)) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::vector<pid_t> childProcesses(pid_t of = getpid())
{
    std::vector<pid_t> children;
    DIR* proc = opendir("/proc");
    while (dirent* e = readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
        if (pid <= 0)
            continue;
        std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        const size_t close = line.rfind(')');
        int parent = 0;
        char state = 0;
        if (close != std::string::npos && std::sscanf(line.c_str() + close + 2, "%c %d", &state, &parent) == 2
            && parent == of && state != 'Z')
            children.push_back(pid);
    }
    closedir(proc);
    return children;
}

pid_t startOffice()
{
    const automation::OleObject word = automation::CreateOleObject("word.application");
    return wordengine::RunningOffice()->pid();
}

std::string headerOf(const std::string& doc)
{
    return fixtures::ReadFirstPage(doc).headerText;
}

TEST(OfficeTest, OneWarmOfficeServesEveryApplicationObjectAndEndsWithoutTrace)
{
    const pid_t first = startOffice();
    EXPECT_EQ(startOffice(), first);
    const std::vector<std::string> sockets = wordengine::BoundSocketPaths(first, "/tmp/OSL_PIPE_");
    EXPECT_FALSE(sockets.empty());
    wordengine::ShutdownWordApplication();
    EXPECT_TRUE(processGone(first));
    for (const std::string& socket : sockets)
        EXPECT_FALSE(std::filesystem::exists(socket)) << socket << " was left behind";
    EXPECT_TRUE(childProcesses().empty()) << "an office or watchdog process was left";
    EXPECT_NE(startOffice(), first) << "a new office after the end of the old one";
}

std::string commandName(pid_t pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// How the program is ended: killed outright, or terminated together with every
// process carrying its command line, as ending it by name does.
enum class Ending { Killed, TerminatedByName };

void PrintTo(Ending e, std::ostream* os) { *os << (e == Ending::Killed ? "Killed" : "TerminatedByName"); }

class EndedProgramTest : public testing::TestWithParam<Ending> {};

// The holder starts its office on a profile that does not exist yet, so this
// also covers seeding a new profile and the restart its first start asks for.
TEST_P(EndedProgramTest, OfficeDiesWithTheProgram)
{
    TestFolder cache;
    std::vector<std::string> variables;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("XDG_CACHE_HOME=", 0) != 0)
            variables.push_back(*e);
    variables.push_back("XDG_CACHE_HOME=" + cache.path());
    std::vector<char*> env;
    for (std::string& v : variables)
        env.push_back(v.data());
    env.push_back(nullptr);

    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(OFFICE_HOLDER), nullptr};
    pid_t holder = 0;
    ASSERT_EQ(posix_spawn(&holder, OFFICE_HOLDER, &actions, nullptr, argv, env.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char text[32] = {};
    const ssize_t n = read(out[0], text, sizeof text - 1);
    close(out[0]);
    const pid_t office = n > 0 ? static_cast<pid_t>(std::atoi(text)) : 0;

    const std::vector<std::string> sockets =
        office > 0 ? wordengine::BoundSocketPaths(office, "/tmp/OSL_PIPE_") : std::vector<std::string>{};
    if (GetParam() == Ending::Killed) {
        kill(holder, SIGKILL);
    } else {
        for (pid_t child : childProcesses(holder))
            if (commandName(child) == "quorvel-watch")
                kill(child, SIGTERM);
        kill(holder, SIGTERM);
    }
    waitpid(holder, nullptr, 0);
    ASSERT_GT(office, 0) << "the holder did not start an office";
    const bool gone = waitGone(office, 10s);
    if (!gone)
        kill(office, SIGKILL);
    EXPECT_TRUE(gone) << "the office outlived the killed program";
    EXPECT_FALSE(sockets.empty());
    for (const std::string& socket : sockets) {
        for (int i = 0; i < 50 && std::filesystem::exists(socket); ++i)
            std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(std::filesystem::exists(socket)) << socket << " was left behind";
    }
    EXPECT_TRUE(fixtures::ReadBytes(cache.path("quorvel/office-profile-0/user/registrymodifications.xcu"))
                    .find("UseDocumentOOoLockFile") != std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Endings, EndedProgramTest, testing::Values(Ending::Killed, Ending::TerminatedByName),
                         [](const testing::TestParamInfo<Ending>& info) {
                             return info.param == Ending::Killed ? "Killed" : "TerminatedByName";
                         });

// A Word server that kills the office at the start of its n-th document, as if
// the office had crashed in the middle of the batch.
class CrashingWord : public automation::IDispatchObject {
public:
    explicit CrashingWord(bool crash)
        : inner_(std::make_shared<wordengine::WordApplication>(wordengine::CurrentOffice())), crash_(crash)
    {
    }
    automation::Variant invoke(const automation::Invocation& call) override
    {
        if (crash_ && automation::equalsIgnoreCase(call.member, "ChangeFileOpenDirectory")) {
            const pid_t office = wordengine::RunningOffice()->pid();
            kill(office, SIGKILL);
            waitGone(office, 5s);
        }
        return inner_->invoke(call);
    }

private:
    automation::DispatchPtr inner_;
    bool crash_;
};

TEST(OfficeTest, OfficeKilledDuringABatchFailsThatBatchAndTheNextRuns)
{
    TestFolder first, second;
    for (const char* name : {"a.doc", "b.doc", "c.doc"})
        fixtures::MakeDocument(first.path(name), {});
    for (const char* name : {"d.doc", "e.doc"})
        fixtures::MakeDocument(second.path(name), {});
    std::map<std::string, std::string> before;
    for (const char* name : {"a.doc", "b.doc", "c.doc"})
        before[name] = fixtures::ReadBytes(first.path(name));
    const pid_t oldOffice = wordengine::CurrentOffice()->pid();

    int created = 0;
    automation::RegisterClassFactory("word.application", [&created]() -> automation::DispatchPtr {
        return std::make_shared<CrashingWord>(++created == 2);
    });
    {
        BatchForm form({"", 1, "New", 1, "New", 1});
        EXPECT_ANY_THROW(form->ModifyFolder(first.path()));
    }
    wordengine::RegisterWordApplication();

    int rewritten = 0;
    for (const auto& [name, bytes] : before)
        rewritten += fixtures::ReadBytes(first.path(name)) != bytes;
    EXPECT_EQ(rewritten, 1) << "the walk must stop at the document whose office died";

    {
        BatchForm form({"", 1, "After the crash", 1, "x", 1});
        EXPECT_NO_THROW(form->ModifyFolder(second.path()));
    }
    EXPECT_NE(wordengine::CurrentOffice()->pid(), oldOffice);
    EXPECT_EQ(headerOf(second.path("d.doc")), "After the crash");
    EXPECT_EQ(headerOf(second.path("e.doc")), "After the crash");
}

TEST(OfficeTest, UnansweredCallKillsTheOfficeAndRaises)
{
    TestFolder folder;
    const std::string doc = folder.path("slow.doc");
    fixtures::MakeDocument(doc, {});
    const std::string bytes = fixtures::ReadBytes(doc);
    const pid_t office = wordengine::CurrentOffice()->pid();

    const wordengine::CallBounds normal = wordengine::GetCallBounds();
    wordengine::SetCallBounds({normal.shortCall, 1ms}); // no load finishes this fast
    try {
        BatchForm form({"", 1, "H", 1, "F", 1});
        form->ModifyDocument(doc);
        ADD_FAILURE() << "no failure raised";
    } catch (const automation::AutomationError& e) {
        EXPECT_NE(e.serverText().find("did not answer"), std::string::npos) << e.what();
    }
    wordengine::SetCallBounds(normal);

    EXPECT_TRUE(waitGone(office, 5s));
    EXPECT_EQ(fixtures::ReadBytes(doc), bytes);
    {
        BatchForm form({"", 1, "H", 1, "F", 1});
        form->ModifyDocument(doc);
    }
    EXPECT_EQ(headerOf(doc), "H");
}

} // namespace

namespace {

// A listener on an office's pipe that takes connections and never answers, as an
// office that hangs at start-up does.
class SilentOffice {
public:
    SilentOffice() : name_("quorvel-silent-" + std::to_string(getpid())),
                     path_("/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + name_)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path_.copy(address.sun_path, sizeof address.sun_path - 1);
        unlink(path_.c_str());
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        fd_ = fd;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0)
            ADD_FAILURE() << "cannot listen on " << path_;
    }
    ~SilentOffice()
    {
        stop();
        unlink(path_.c_str());
    }
    const std::string& name() const { return name_; }
    void stop()
    {
        stopped_ = true;
        if (const int fd = fd_.exchange(-1); fd >= 0)
            close(fd);
    }
    bool stopped() const { return stopped_; }

private:
    std::string name_, path_;
    std::atomic<int> fd_{-1};
    std::atomic<bool> stopped_{false};
};

TEST(OfficeTest, OfficeThatTakesTheConnectionButNeverAnswersIsStopped)
{
    SilentOffice office;
    EXPECT_THROW(wordengine::ConnectOffice(office.name(), 300ms, [&office] { office.stop(); }), std::runtime_error);
    EXPECT_TRUE(office.stopped());
    // Nobody listening yet is no failure: the office is still starting.
    EXPECT_FALSE(wordengine::ConnectOffice(office.name(), 300ms, [] {}));
}

} // namespace
