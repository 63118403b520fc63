// The error log: the exact bytes of a line, one line per error appended to
// whatever the file holds, a file deleted meanwhile made anew, and a line
// that cannot be written lost alone, counted, and never left half-written.
#include "alert/ErrorLog.h"

#include <fstream>
#include <thread>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "alert/AlertDefs.h"
#include "comm/ProjectorInfo.h"
#include "platform/ResourceText.h"
#include "settings/AlertSetInfo.h"
#include "settings/TestProfile.h"

namespace {

// Runs body on a thread without the power to override file permissions, so
// that a folder's permissions hold even when the tests run as root.
void WithoutPermissionOverride(const std::function<void()>& body) {
    std::thread thread([&] {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2]{};
        if (::syscall(SYS_capget, &header, caps) == 0) {
            caps[0].effective = 0;
            caps[1].effective = 0;
            ::syscall(SYS_capset, &header, caps);
        }
        body();
    });
    thread.join();
}

class ErrorLogTest : public ::testing::Test {
protected:
    ErrorLogTest() : clock(CDateTime::FromParts(2008, 4, 3, 15, 17, 9)), log(clock) {
        settings.errorLoging = 1;
        settings.errorLogFile = Path("Error.Log");
        record.ipAddress = "192.168.0.17";
        record.status = STATUS_FAN;
    }
    std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    std::string ExpectedLine(int messageId, const std::string& stamp = "2008/Apr/03 15:17:09") const {
        const std::string message = ResourceText(messageId);
        return stamp + " " + message + std::string(256 - message.size(), ' ') + " - LAN " + record.ipAddress + "\r\n";
    }

    QTemporaryDir dir;
    CFakeClock clock;
    CErrorLog log;
    CAlertSetInfo settings;
    CProjectorInfo record;
};

}  // namespace

TEST_F(ErrorLogTest, LineHoldsStampMessagePaddedByBytesAndAddress) {
    const std::string fan = ResourceText(IDS_ALERT_FAN);
    // A Japanese text: fewer characters than bytes, and the padding counts bytes.
    ASSERT_GT(fan.size(), QString::fromStdString(fan).size());
    EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_WRITTEN);
    record.status = STATUS_TEMP_BIT6;
    clock.AdvanceMs(61000);
    EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_WRITTEN);
    const std::string first = ExpectedLine(IDS_ALERT_FAN);
    EXPECT_EQ(first.size(), 20u + 1 + 256 + 7 + record.ipAddress.size() + 2);
    EXPECT_EQ(FileBytes(settings.errorLogFile), first + ExpectedLine(IDS_ALERT_TEMP_FLAG6, "2008/Apr/03 15:18:10"));
    EXPECT_EQ(log.LostLines(), 0);
}

TEST_F(ErrorLogTest, MessagesAtAndBeyondTheColumnAreWrittenWhole) {
    const CDateTime when = CDateTime::FromParts(2026, 12, 1, 7, 5, 0);
    EXPECT_EQ(CErrorLog::FormatLine(when, std::string(300, 'x'), "10.0.0.1"),
              "2026/Dec/01 07:05:00 " + std::string(300, 'x') + " - LAN 10.0.0.1\r\n");
    EXPECT_EQ(CErrorLog::FormatLine(when, "0123456789", "10.0.0.1"),
              "2026/Dec/01 07:05:00 0123456789" + std::string(246, ' ') + " - LAN 10.0.0.1\r\n");
    EXPECT_EQ(CErrorLog::FormatLine(when, std::string(256, 'y'), ""),
              "2026/Dec/01 07:05:00 " + std::string(256, 'y') + " - LAN \r\n");
}

TEST_F(ErrorLogTest, AppendsToWhatIsThereAndMakesADeletedFileAgain) {
    {
        std::ofstream(settings.errorLogFile, std::ios::binary) << "kept by the operator\n";
    }
    log.WriteErrorLogLine(record, &settings);
    EXPECT_EQ(FileBytes(settings.errorLogFile), "kept by the operator\n" + ExpectedLine(IDS_ALERT_FAN));
    ASSERT_EQ(::unlink(settings.errorLogFile.c_str()), 0);
    record.status = STATUS_CONNECTION_ERROR;
    EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_WRITTEN);
    EXPECT_EQ(FileBytes(settings.errorLogFile), ExpectedLine(IDS_ALERT_CONNECTION));
}

TEST_F(ErrorLogTest, OnlyErrorsWithLoggingOnAreWritten) {
    for (int status : {STATUS_UNKNOWN, STATUS_NORMAL, 11}) {
        record.status = status;
        EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_NOTHING) << status;
    }
    record.status = STATUS_FAN;
    EXPECT_EQ(log.WriteErrorLogLine(record, nullptr), ERROR_LOG_NOTHING);
    settings.errorLoging = 0;
    EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_NOTHING);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(settings.errorLogFile)));
    EXPECT_EQ(log.LostLines(), 0);
    // Logging on with no file to write to: the line is lost and counted.
    settings.errorLoging = 1;
    settings.errorLogFile.clear();
    EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_LOST);
    EXPECT_EQ(log.LostLines(), 1);
}

TEST_F(ErrorLogTest, FolderThatCannotBeWrittenLosesOnlyThatLine) {
    const std::string folder = Path("locked");
    ASSERT_EQ(::mkdir(folder.c_str(), 0500), 0);
    settings.errorLogFile = folder + "/Error.Log";
    WithoutPermissionOverride([&] {
        EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_LOST);
        EXPECT_FALSE(CErrorLog::CanOpenForWriting(settings.errorLogFile));
    });
    EXPECT_EQ(log.LostLines(), 1);
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    record.status = STATUS_LAMP_BIT4;
    WithoutPermissionOverride([&] { EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_WRITTEN); });
    EXPECT_EQ(FileBytes(settings.errorLogFile), ExpectedLine(IDS_ALERT_LAMP_FLAG4));
    EXPECT_EQ(log.LostLines(), 1);
}

TEST_F(ErrorLogTest, PathsThatAreNoFileAreRefusedAtOnce) {
    // A pipe nobody reads would block an ordinary open for ever.
    const std::string pipe = Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, dir.path().toStdString(), Path("missing/Error.Log")}) {
        settings.errorLogFile = path;
        EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_LOST) << path;
        EXPECT_FALSE(CErrorLog::CanOpenForWriting(path)) << path;
    }
    EXPECT_EQ(log.LostLines(), 3);
    EXPECT_TRUE(CErrorLog::CanOpenForWriting(Path("new.log")));
    EXPECT_EQ(FileBytes(Path("new.log")), "");
}

TEST_F(ErrorLogTest, LineThatDoesNotFitIsTakenBackWhole) {
    log.WriteErrorLogLine(record, &settings);
    const std::string before = FileBytes(settings.errorLogFile);
    {
        CFileSizeLimit full(before.size() + 100);  // room for part of a line only
        record.status = STATUS_COMM_ERROR;
        EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_LOST);
    }
    EXPECT_EQ(FileBytes(settings.errorLogFile), before);
    EXPECT_EQ(log.LostLines(), 1);
    EXPECT_EQ(log.WriteErrorLogLine(record, &settings), ERROR_LOG_WRITTEN);
    EXPECT_EQ(FileBytes(settings.errorLogFile), before + ExpectedLine(IDS_ALERT_COMM));
}
