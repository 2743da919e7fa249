#pragma once

// Qt's application object for tests of code with timers and queued calls, as a
// member of a fixture; one lives at a time.

#include <QCoreApplication>

namespace qn::test {

class QtCoreApp {
 private:
  int argc_ = 1;
  char name_[8] = "test";
  char* argv_[1] = {name_};
  QCoreApplication app_{argc_, argv_};
};

}  // namespace qn::test
