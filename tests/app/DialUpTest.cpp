// Dial-up and shutdown through stand-ins for nmcli and systemctl.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/DialUp.h"
#include "app/Shutdown.h"
#include "support/FakeCommands.h"

namespace qn::test {
namespace {

class RecordingObserver : public IQNObserver {
 public:
  bool confirm = true;
  std::vector<std::string> statuses;
  std::vector<std::pair<std::string, int>> countdowns;

  void OnStatus(const QNStatus& status) override { statuses.push_back(status.text3); }
  bool DoCountdown(const std::string& format, int seconds) override {
    countdowns.emplace_back(format, seconds);
    return confirm;
  }
};

QNMessenger Messenger(IQNObserver& observer) {
  return {observer, QNTexts()};
}

class DialUpTest : public ::testing::Test {
 protected:
  DialUpTest() : dialUp_(fakes_.Nmcli()) { dialUp_.releaseWait = std::chrono::milliseconds(0); }

  bool Dial(std::string& error) {
    return dialUp_.DialIfNeeded(settings_, Messenger(observer_), error);
  }
  int CallsWith(const std::string& part) const {
    const auto calls = fakes_.Calls("nmcli");
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
      return c.find(part) != std::string::npos;
    }));
  }

  FakeCommands fakes_;
  CQNDialUp dialUp_;
  RecordingObserver observer_;
  QNDialUpSettings settings_{1, "Office DSL", "user", "s3cret pass"};
};

TEST_F(DialUpTest, DialsWithThePasswordInAFileAndHangsUp) {
  fakes_.SetState("connections", "Wired\nOffice DSL\n");
  std::string error;
  ASSERT_TRUE(Dial(error)) << error;
  EXPECT_TRUE(dialUp_.Connected() && dialUp_.DialedByUs());
  EXPECT_EQ(CallsWith("-w 90 connection up id Office DSL passwd-file "), 1);
  EXPECT_EQ(observer_.statuses, std::vector<std::string>{"Connecting..."});
  // The password reached nmcli only through a file that only the user could read,
  // and that file is gone.
  for (const std::string& call : fakes_.Calls("nmcli"))
    EXPECT_EQ(call.find("s3cret"), std::string::npos) << call;
  EXPECT_NE(ReadFile(fakes_.State("secrets")).find("pppoe.password:s3cret pass\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile(fakes_.State("secrets-mode")), "600\n");
  std::string secretsPath = ReadFile(fakes_.State("secrets-path"));
  secretsPath.pop_back();
  EXPECT_FALSE(std::filesystem::exists(secretsPath));

  // A cancelled countdown keeps the line; a confirmed one hangs up.
  observer_.confirm = false;
  dialUp_.HangUpIfDialed(settings_, Messenger(observer_), "Completed...");
  EXPECT_EQ(CallsWith("connection down"), 0);
  observer_.confirm = true;
  dialUp_.HangUpIfDialed(settings_, Messenger(observer_), "Completed...");
  EXPECT_EQ(CallsWith("connection down id Office DSL"), 1);
  EXPECT_EQ(observer_.countdowns.back(),
            std::make_pair(std::string("Disconnecting in %d seconds"), 5));
  EXPECT_EQ(observer_.statuses,
            (std::vector<std::string>{"Connecting...", "Disconnecting...", "Completed..."}));
  EXPECT_FALSE(dialUp_.Connected());
  EXPECT_EQ(ReadFile(fakes_.State("active")), "");
}

TEST_F(DialUpTest, ReusesAConnectionFoundWithoutCaseAndNeverHangsItUp) {
  fakes_.SetState("connections", "OFFICE DSL\n");
  fakes_.SetState("active", "OFFICE DSL\n");
  std::string error;
  ASSERT_TRUE(Dial(error));
  EXPECT_EQ(CallsWith("connection up"), 0);
  EXPECT_FALSE(dialUp_.DialedByUs());
  dialUp_.HangUpIfDialed(settings_, Messenger(observer_), "Completed...");
  EXPECT_TRUE(observer_.countdowns.empty());
  EXPECT_EQ(CallsWith("connection down"), 0);
  EXPECT_EQ(ReadFile(fakes_.State("active")), "OFFICE DSL\n");
}

TEST_F(DialUpTest, WhenNothingIsDialed) {
  std::string error;
  // No entries: no dial and no error.
  EXPECT_TRUE(Dial(error));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(fakes_.Calls("nmcli"), std::vector<std::string>{"-t -e no -f NAME connection show"});
  // A permanent connection asks nothing of nmcli.
  fakes_.SetState("connections", "Office DSL\n");
  settings_.connType = 0;
  EXPECT_TRUE(Dial(error));
  EXPECT_EQ(fakes_.Calls("nmcli").size(), 1u);
  // Entries but none chosen.
  settings_ = {1, "", "", ""};
  EXPECT_FALSE(Dial(error));
  EXPECT_EQ(CallsWith("connection up"), 0);
  // Without nmcli nothing happens, as on a permanent connection.
  CQNDialUp missing((fakes_.State("none") / "nmcli").string());
  EXPECT_FALSE(missing.Available());
  EXPECT_FALSE(missing.ListEntries());
  EXPECT_TRUE(missing.DialIfNeeded({1, "Office DSL", "", ""}, Messenger(observer_), error));
}

TEST_F(DialUpTest, ADialErrorGivesNmcliMessage) {
  fakes_.SetState("connections", "Office DSL\n");
  fakes_.SetState("fail-up", "");
  std::string error;
  EXPECT_FALSE(Dial(error));
  EXPECT_EQ(error, "Error: Connection activation failed: No carrier on the line.");
  EXPECT_EQ(dialUp_.LastError(), error);
  EXPECT_FALSE(dialUp_.DialedByUs());
  dialUp_.HangUpIfDialed(settings_, Messenger(observer_), "");
  EXPECT_TRUE(observer_.countdowns.empty());
}

// The steps of the end action, in order.
struct ShutdownRecord {
  std::vector<std::string> steps;
  bool confirm = true;

  QNShutdownSteps Steps() {
    QNShutdownSteps s;
    s.markClosing = [this](bool closing) { steps.push_back(closing ? "mark" : "unmark"); };
    s.countdown = [this](const std::string& format, int seconds) {
      steps.push_back(format + " " + std::to_string(seconds));
      return confirm;
    };
    s.saveOptions = [this] { steps.push_back("save options"); };
    s.saveProject = [this] { steps.push_back("save project"); };
    s.closeProgram = [this] { steps.push_back("close"); };
    s.texts = QNTexts();
    return s;
  }
};

TEST(Shutdown, CountdownSaveAndPowerOff) {
  FakeCommands fakes;
  const std::vector<std::string> powerOff{fakes.Systemctl(), "--no-ask-password", "poweroff"};

  ShutdownRecord cancelled;
  cancelled.confirm = false;
  EXPECT_EQ(ShutDownOrExit(true, cancelled.Steps(), powerOff), QNShutdownResult::kCancelled);
  EXPECT_EQ(cancelled.steps,
            (std::vector<std::string>{"mark", "Shuting system down in %d seconds 10", "unmark"}));
  EXPECT_TRUE(fakes.Calls("systemctl").empty());

  ShutdownRecord confirmed;
  EXPECT_EQ(ShutDownOrExit(true, confirmed.Steps(), powerOff), QNShutdownResult::kPoweringOff);
  EXPECT_EQ(confirmed.steps,
            (std::vector<std::string>{"mark", "Shuting system down in %d seconds 10",
                                      "save options", "save project"}));
  EXPECT_EQ(fakes.Calls("systemctl"), std::vector<std::string>{"--no-ask-password poweroff"});

  // A refused power-off closes the program instead.
  fakes.SetState("exit-code", "1");
  ShutdownRecord refused;
  EXPECT_EQ(ShutDownOrExit(true, refused.Steps(), powerOff), QNShutdownResult::kPowerOffFailed);
  EXPECT_EQ(refused.steps.back(), "close");

  ShutdownRecord exitOnly;
  EXPECT_EQ(ShutDownOrExit(false, exitOnly.Steps(), powerOff), QNShutdownResult::kClosing);
  EXPECT_EQ(exitOnly.steps, (std::vector<std::string>{"mark", "close"}));
  EXPECT_EQ(fakes.Calls("systemctl").size(), 2u);
}

}  // namespace
}  // namespace qn::test
