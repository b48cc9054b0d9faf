// The records file under what befalls it: a program killed in the middle of writing, two
// programs writing at once, a disk that fills. Nothing already committed is lost, and the units
// always agree with their events.
#include <gmock/gmock.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "RecordsFixture.h"
#include "records/Recorder.h"

using records_test::sampleEvent;

namespace {

// Every unit's count equals its events; true for a consistent file.
void expectConsistent(records::SqlStore& store) {
    std::int64_t total = 0;
    for (const auto& u : store.units()) {
        EXPECT_EQ(static_cast<std::size_t>(u.events), store.events(u.unitId).size()) << u.unitId;
        total += u.events;
    }
    EXPECT_EQ(static_cast<std::size_t>(total), store.events("").size());
}

// Runs `work` in a child process; its exit status.
template <typename F>
pid_t spawn(F work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        ::_exit(0);
    }
    return pid;
}

std::string at(int i) {
    char text[40];
    std::snprintf(text, sizeof text, "2026-11-12T09:%02d:%02d.%03dZ", i / 60000 % 60, i / 1000 % 60,
                  i % 1000);
    return text;
}

TEST(StoreUnderFaults, AProgramKilledWhileWritingLeavesEveryCommittedEventWhole) {
    records_test::TempFolder dir;
    const std::string file = dir.file("r.sqlite");
    records::SqlStore::openSqlite(file);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t writer = spawn([&] {
        auto store = records::SqlStore::openSqlite(file);
        for (int i = 0;; ++i) {
            store->add(sampleEvent("00010" + std::to_string(i % 3) + " V 1", at(i)), true);
            if (i == 50) (void)!::write(pipeEnds[1], "x", 1);  // well under way
        }
    });
    char c;
    ASSERT_EQ(::read(pipeEnds[0], &c, 1), 1);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    auto store = records::SqlStore::openSqlite(file);
    EXPECT_GT(store->events("").size(), 50u);
    EXPECT_EQ(static_cast<std::size_t>(store->pending()), store->events("").size());
    expectConsistent(*store);
}

TEST(StoreUnderFaults, TwoProgramsWritingAtOnceKeepEveryEvent) {
    records_test::TempFolder dir;
    const std::string file = dir.file("r.sqlite");
    constexpr int kEach = 150;
    pid_t writers[2];
    for (int w = 0; w < 2; ++w)
        writers[w] = spawn([&, w] {
            records::Recorder recorder(file, "");  // both may be the first to make the file
            for (int i = 0; i < kEach; ++i)
                if (!recorder.record(sampleEvent("00020" + std::to_string(w) + " V 1", at(i)))) {
                    std::fprintf(stderr, "%s\n", recorder.problem().c_str());
                    ::_exit(1);
                }
        });
    for (pid_t pid : writers) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto store = records::SqlStore::openSqlite(file);
    EXPECT_EQ(store->events("").size(), 2u * kEach);
    expectConsistent(*store);
}

TEST(StoreUnderFaults, AFullDiskFailsTheEventAndLeavesTheFileUsable) {
    records_test::TempFolder dir;
    const std::string file = dir.file("r.sqlite");
    {
        auto store = records::SqlStore::openSqlite(file);
        store->add(sampleEvent("000301 V 1", at(0)));
    }
    const pid_t filler = spawn([&] {
        ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of killing
        records::Recorder recorder(file, "");
        const rlimit small{256 * 1024, 256 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &small);
        records::Event big = sampleEvent("000301 V 1", at(1));
        big.values.assign(2000, {"Apn", std::string(100, 'x')});
        for (int i = 0; i < 100; ++i) {
            big.uuid = records::randomUuid();
            if (!recorder.record(big))
                ::_exit(recorder.problem().find("the disk is full") != std::string::npos ? 7 : 8);
        }
        ::_exit(9);
    });
    int status = 0;
    ::waitpid(filler, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    auto store = records::SqlStore::openSqlite(file);
    EXPECT_TRUE(store->add(sampleEvent("000301 V 1", at(2))));
    expectConsistent(*store);
}

// An event the file cannot take now (another program holds it, the disk is full) is kept for the
// next that it can take, and so is every event while a file that would not open comes back.
TEST(StoreUnderFaults, EventsTheFileCouldNotTakeGoInWithTheNextThatItCan) {
    records_test::TempFolder dir;
    const std::string file = dir.file("r.sqlite");
    {  // the last to close writes its events into the file itself
        records::Recorder recorder(file, "", {.busyTimeoutSeconds = 1});
        sqlite3* other = nullptr;
        ASSERT_EQ(::sqlite3_open(file.c_str(), &other), SQLITE_OK);
        ASSERT_EQ(::sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_FALSE(recorder.record(sampleEvent("000601 V 1", at(0))));
        EXPECT_THAT(recorder.problem(), ::testing::HasSubstr("is locked"));
        ::sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        ::sqlite3_close(other);
        EXPECT_TRUE(recorder.record(sampleEvent("000601 V 1", at(1))));
        EXPECT_EQ(recorder.held(), 0u);
    }

    const std::string moved = dir.file("moved");
    std::filesystem::create_directory(moved);  // a folder where the file should be
    records::Recorder reopened(moved, "");
    reopened.reopenPause = std::chrono::seconds(0);
    EXPECT_FALSE(reopened.record(sampleEvent("000601 V 1", at(2))));
    std::filesystem::remove(moved);
    std::filesystem::copy_file(file, moved);
    EXPECT_TRUE(reopened.record(sampleEvent("000601 V 1", at(3))));

    auto store = records::SqlStore::openSqlite(moved);
    EXPECT_EQ(store->events("000601").size(), 4u);
    expectConsistent(*store);
}

// Damage found after the file opened is told as at opening: what the operator can do, not the
// statement SQLite was running.
TEST(StoreUnderFaults, AFileDamagedUnderneathIsToldAsDamagedWhateverReadsIt) {
    records_test::TempFolder dir;
    const std::string file = dir.file("r.sqlite");
    {
        auto store = records::SqlStore::openSqlite(file);
        for (int i = 0; i < 300; ++i) store->add(sampleEvent("000401 V 1", at(i)), true);
    }
    {  // every page after the first few scrambled, as a bad disk or a stray copy leaves it
        std::FILE* f = std::fopen(file.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        for (long offset = 5 * 4096; std::fseek(f, offset, SEEK_SET) == 0 && std::fgetc(f) != EOF;
             offset += 97) {
            std::fseek(f, offset, SEEK_SET);
            std::fputc(0x5a, f);
        }
        std::fclose(f);
    }
    std::string told;
    try {
        auto store = records::SqlStore::openSqlite(file);
        store->units();
        store->events("");
        store->queued(1000);
    } catch (const records::StoreError& e) {
        told = e.what();
    }
    EXPECT_THAT(told, ::testing::HasSubstr("is damaged"));
    EXPECT_THAT(told, ::testing::Not(::testing::HasSubstr("SELECT")));
}

// A statement that fails names no statement and none of its values: they hold the terminal's
// passwords.
TEST(StoreUnderFaults, AFailedEventIsToldWithoutItsValues) {
    records_test::TempFolder dir;
    const std::string file = dir.file("r.sqlite");
    records::Recorder recorder(file, "");
    {  // every new event refused, as a check put in by hand or a damaged index would
        sqlite3* db = nullptr;
        ASSERT_EQ(::sqlite3_open(file.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(::sqlite3_exec(db,
                                 "CREATE TRIGGER refuse BEFORE INSERT ON events"
                                 " BEGIN SELECT RAISE(ABORT, 'refused'); END",
                                 nullptr, nullptr, nullptr),
                  SQLITE_OK);
        ::sqlite3_close(db);
    }
    records::Event e = sampleEvent("000501 V 1", at(1));
    e.values.push_back({"ApnPassword", "s3cret-apn"});
    EXPECT_FALSE(recorder.record(e));
    EXPECT_THAT(recorder.problem(), ::testing::HasSubstr("refused"));
    EXPECT_THAT(recorder.problem(), ::testing::Not(::testing::HasSubstr("s3cret")));
}

}  // namespace
