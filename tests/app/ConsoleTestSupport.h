#pragma once
// The console's widget tests: a fresh profile of the test's own (ProfileTest),
// the projectors and groups stored in it, and the main frame with its view
// made over it on the offscreen platform, every message for the operator
// caught instead of shown.
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include <QCoreApplication>
#include <gtest/gtest.h>

#include "app/LumivexView.h"
#include "app/MainFrame.h"
#include "comm/ProjectorInfo.h"
#include "platform/EventWait.h"
#include "settings/Groups.h"
#include "settings/ProfileStore.h"
#include "settings/ProjectorStoredForm.h"
#include "settings/TestProfile.h"
#include "settings/Value.h"

class ConsoleTest : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        // A search port of this process alone; searches end after a second.
        CValue().SetProjectorSearchPort(SearchPort());
        ASSERT_TRUE(CurrentProfile().WriteInt("Settings", "ProjectorSearchSecond", 1));
        // No caution boxes unless a test asks for them: a box is modal and
        // would wait for an operator in the middle of a test.
        CValue().SetAlertStatus("0,0,0,0,0,0");
    }
    void TearDown() override {
        m_frame.reset();
        Settle();
        ProfileTest::TearDown();
    }

    static int SearchPort() { return 20000 + int(::getpid() % 20000); }

    // The All group holding these addresses, and named groups by name with
    // the members given by position in addresses.
    static void StoreFleet(const std::vector<std::string>& addresses,
                           const std::vector<std::pair<std::string, std::vector<int>>>& named = {}) {
        GroupList groups;
        groups.push_back(std::make_unique<CGroupItem>("All"));
        for (const std::string& address : addresses) {
            CProjectorInfo record;
            record.ipAddress = address;
            ASSERT_EQ(groups[0]->AddCopy(record, nullptr), 0);
        }
        for (const auto& [name, members] : named) {
            auto group = std::make_unique<CGroupItem2>(name);
            for (int m : members)
                group->Add(groups[0]->GetAt(m));
            groups.push_back(std::move(group));
        }
        ASSERT_EQ(SaveGroups(groups), 0);
    }

    // The addresses of the All group as another process would read the file now.
    std::vector<std::string> StoredAddresses() const {
        CProfileStore store(m_profilePath);
        CValue value(store);
        std::vector<std::string> addresses;
        for (int m = 0; m < value.GetProjectorCount(-1); ++m) {
            CBinary bytes = value.GetProjector(-1, m);
            CProjectorInfo record;
            if (LoadFrom(record, bytes) == 0)
                addresses.push_back(record.ipAddress);
        }
        return addresses;
    }

    // The frame and its view over the stored profile; Create must succeed.
    CLumivexView* OpenConsole(IClock* clock = nullptr) {
        auto* view = new CLumivexView(nullptr, clock);
        view->SetMessageSink([this](const std::string& text) { m_messages.push_back(text); });
        m_frame = std::make_unique<CMainFrame>(view);
        EXPECT_EQ(view->Create(), 0) << view->CreateError();
        return view;
    }

    static bool WaitFor(const std::function<bool()>& done, int ms = 10000) { return RunEventsUntil(done, ms); }
    // Lets posted messages and deferred deletions run.
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

    std::unique_ptr<CMainFrame> m_frame;
    std::vector<std::string> m_messages;
};
