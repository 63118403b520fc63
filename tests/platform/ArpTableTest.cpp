#include <gtest/gtest.h>

#include "platform/ArpTable.h"
#include "platform/WinsockError.h"

#include <cerrno>

TEST(ArpTable, CompleteEntriesSortedByAddress) {
    const std::string text =
        "IP address       HW type     Flags       HW address            Mask     Device\n"
        "192.168.1.30     0x1         0x2         aa:bb:cc:dd:ee:0f     *        eth0\n"
        "192.168.1.4      0x1         0x0         00:00:00:00:00:00     *        eth0\n"
        "10.0.0.9         0x1         0x6         00:11:22:33:44:55     *        eth1\n"
        "garbage line\n"
        "192.168.1.5      0x1         0x2         not-a-mac             *        eth0\n";
    auto entries = ParseArpTable(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].address, 0x0A000009u);
    EXPECT_EQ(entries[0].mac[5], 0x55);
    EXPECT_EQ(entries[1].address, 0xC0A8011Eu);
    EXPECT_EQ(entries[1].mac[0], 0xaa);
    std::vector<ArpEntry> out;
    EXPECT_EQ(ReadArpTable(out, "/nonexistent/arp"), -1);
}

TEST(WinsockError, TranslatesTheNumbersTheCodeTablesUse) {
    EXPECT_EQ(WsaErrorFromErrno(0), 0);
    EXPECT_EQ(WsaErrorFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(WsaErrorFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(WsaErrorFromErrno(EADDRINUSE), 10048);
    EXPECT_EQ(WsaErrorFromErrno(EAGAIN), 10035);
    EXPECT_EQ(WsaErrorFromErrno(EINPROGRESS), 10036);
    EXPECT_EQ(WsaErrorFromErrno(ECONNRESET), 10054);
    EXPECT_EQ(WsaErrorFromErrno(ENETUNREACH), 10051);
}
