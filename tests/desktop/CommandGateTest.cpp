// Commands that arrive while a conversation waits must run only once the
// check is over, in their order; what must get through during the wait does.
#include "CommandGate.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <string>

namespace {

class CommandGateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "gate";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }

    // A check: a handler whose conversation waits and lets the loop run.
    void Check(const std::function<void()>& duringWait) {
        m_gate.Deliver([&] {
            m_log += "check{";
            m_gate.EnterWait();
            duringWait();
            QCoreApplication::processEvents();
            m_gate.LeaveWait();
            m_log += "}";
        });
    }

    CommandGate m_gate;
    std::string m_log;
};

TEST_F(CommandGateTest, CommandsFromTheWaitRunAfterTheCheckInOrder) {
    Check([&] {
        m_gate.Deliver([&] { m_log += "a"; });
        m_gate.Post([&] { m_log += "b"; });
        m_gate.Pass([&] { m_log += "disconnect"; });
    });
    EXPECT_EQ(m_log, "check{disconnect}");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_log, "check{disconnect}ab");
}

TEST_F(CommandGateTest, HeldCommandsWaitOutASecondCheckThatStartsFirst) {
    Check([&] { m_gate.Deliver([&] { m_log += "a"; }); });
    // A second check begins before the loop came back to the held command.
    Check([&] { QCoreApplication::processEvents(); });
    EXPECT_EQ(m_log, "check{}check{}");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_log, "check{}check{}a");
}

TEST_F(CommandGateTest, OutsideAWaitCommandsRunAtOnce) {
    m_gate.Deliver([&] { m_log += "a"; });
    m_gate.Pass([&] { m_log += "b"; });
    EXPECT_EQ(m_log, "ab");
}

} // namespace
