#pragma once

// "New" with the wizard: the wizard runs on the new project's settings, and Finish
// hands them to the project, updates the program options and, when asked, saves
// the project and starts its download.

#include <string>

#include "ui/PrjWizard.h"

class QWidget;

namespace qn {

class CQNApp;

// The wizard's context from the program options and folders.
QNPrjWizContext WizardContext(CQNApp& app, const std::string& pageViewAddress);

// What Finish does with the wizard's state and the settings it hands over. True
// when a download was started.
bool FinishNewProject(CQNApp& app, const QNPrjWizState& state, const CQNSettings& result);

// Shows the wizard for the open (new) project; `remembered` keeps the address and
// import methods chosen last from one wizard to the next. True when it finished.
bool RunNewProjectWizard(CQNApp& app, QWidget* parent, const std::string& pageViewAddress,
                         QNPrjWizState& remembered, QNPrjWizServices services = {});

}  // namespace qn
