// Crash consistency of the profile save: a child process saves in a loop and is killed, a few
// hundred times, at moments a seeded random source picks. After every kill the next start must
// find the whole profile of the last save that finished, never a partial or lost one.

#include "GameDataFixture.h"

#include <cerrno>
#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/base/CCRandom.h"
#include "engine/files/CCFileWriter.h"

using kvtest::GameDataTest;

namespace {

// Bytes the killing write lets through before the process kills itself; negative: no limit.
long long g_bytesBeforeKill = -1;

// A write that dies part-way: the moment a crash or a power cut would stop a save.
ssize_t killingWrite(int fd, const void* data, size_t size) {
    if (g_bytesBeforeKill >= 0 && static_cast<long long>(size) >= g_bytesBeforeKill) {
        if (g_bytesBeforeKill > 0 && ::write(fd, data, static_cast<size_t>(g_bytesBeforeKill)) < 0) _exit(4);
        raise(SIGKILL);
    }
    if (g_bytesBeforeKill >= 0) g_bytesBeforeKill -= static_cast<long long>(size);
    return ::write(fd, data, size);
}

// The child: loads the profile from the file, then saves one more pearl at a time for ever,
// reporting each finished save's pearl count on `report`. Never returns.
[[noreturn]] void saveForEver(int report, long long bytesBeforeKill) {
    g_bytesBeforeKill = bytesBeforeKill;
    if (bytesBeforeKill >= 0) kvengine::setFileWriteFunction(killingWrite);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    for (;;) {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        profile->addPearls(1);
        if (!profile->saveProfile()) _exit(3);
        const int pearls = profile->getPearlAmount();
        if (::write(report, &pearls, sizeof pearls) != static_cast<ssize_t>(sizeof pearls)) _exit(5);
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
    }
}

// Temporary files of the save in the settings folder.
int temporariesOfTheSave() {
    int found = 0;
    const std::string prefix = kvtest::fs::path(kvtest::savedSettingsPath()).filename().string() + ".tmp-";
    for (const auto& entry :
         kvtest::fs::directory_iterator(kvtest::fs::path(kvtest::savedSettingsPath()).parent_path()))
        if (entry.path().filename().string().rfind(prefix, 0) == 0) ++found;
    return found;
}

} // namespace

TEST_F(GameDataTest, AProfileSaveKilledAtAnyMomentLeavesTheLastWholeProfile) {
    // A first profile on disk, and the size of one save to aim the kills inside it.
    KVPlayerParameters::getInstance();
    const long long saveSize = static_cast<long long>(kvtest::readText(kvtest::savedSettingsPath()).size());
    ASSERT_GT(saveSize, 0);
    const std::vector<std::string> creatures =
        kvdata::keysOf(kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "Kelvo"));
    kvtest::resetSharedGameObjects();

    kvengine::CCRandom::seed(19);
    constexpr int kRounds = 300;
    int pearls = 0;             // the last save known to have finished
    int killedInsideAWrite = 0; // rounds whose child died inside a save's write
    int temporariesLeft = 0;    // temporaries found before a start-up, over all rounds
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Even rounds: the child kills itself inside the write of its first, second or third
        // save, at any byte (all of it included: killed before the rename). Odd rounds: it is
        // killed from outside once it has reported one to three saves, wherever it is then.
        const bool inside = round % 2 == 0;
        const long long bytesBeforeKill =
            inside ? static_cast<long long>(kvengine::CCRandom::next()) * (3 * saveSize + 1) / 32768 : -1;
        const int reportsBeforeKill = 1 + kvengine::CCRandom::next() % 3;

        int channel[2];
        ASSERT_EQ(pipe(channel), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(channel[0]);
            saveForEver(channel[1], bytesBeforeKill);
        }
        close(channel[1]);
        int reported = pearls;
        int reports = 0;
        int value = 0;
        while (::read(channel[0], &value, sizeof value) == static_cast<ssize_t>(sizeof value)) {
            reported = value;
            if (!inside && ++reports == reportsBeforeKill) kill(child, SIGKILL);
        }
        close(channel[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the child ended by itself: " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        if (inside) ++killedInsideAWrite;
        temporariesLeft += temporariesOfTheSave();

        // A fresh start: the last reported save, or the one in flight if its rename was done.
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        const int found = profile->getPearlAmount();
        if (inside) {
            EXPECT_EQ(found, reported) << "a save killed before its rename must leave the one before";
        } else {
            EXPECT_TRUE(found == reported || found == reported + 1) << found << " after " << reported;
        }
        ASSERT_GE(found, pearls) << "progress went back";
        EXPECT_EQ(kvdata::textAt(profile->getProfile(), "Version"), "19");
        EXPECT_EQ(kvdata::keysOf(kvdata::dictAt(profile->getProfile(), "Kelvo")), creatures);
        EXPECT_FALSE(kvtest::fs::exists(kvtest::savedSettingsPath() + ".bad")) << "the save was unreadable";
        EXPECT_EQ(temporariesOfTheSave(), 0) << "start-up leaves no temporary behind";
        pearls = found;
        kvtest::resetSharedGameObjects();
        if (HasFatalFailure() || HasFailure()) break;
    }
    // The kills landed inside saves and left their temporaries for the start-ups to clear.
    EXPECT_EQ(killedInsideAWrite, kRounds / 2);
    EXPECT_GE(temporariesLeft, kRounds / 2);
    EXPECT_GT(pearls, kRounds / 2);
}
