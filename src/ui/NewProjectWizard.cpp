#include "ui/NewProjectWizard.h"

#include "app/Application.h"

namespace qn {

QNPrjWizContext WizardContext(CQNApp& app, const std::string& pageViewAddress) {
  QNPrjWizContext context;
  const QNOptionSections& options = app.Options();
  context.lastFilesDir = options.options.LastFilesDir;
  context.programDir = app.Folders().writable;
  if (options.options.RemURL) context.urlHistory = options.urlHistory.Entries();
  context.pageViewAddress = pageViewAddress;
  return context;
}

bool FinishNewProject(CQNApp& app, const QNPrjWizState& state, const CQNSettings& result) {
  app.Session().doc.ApplyChangedSettings(result);
  QNProgramOptions& options = app.Options().options;
  options.Wizards = WizardsOption(options.Wizards, state.doNotShowAgain);
  if (state.chosenFilesDir) options.LastFilesDir = *state.chosenFilesDir;
  const std::string& address = result.QN_START_URL[0];
  if (options.RemURL && !address.empty()) app.Options().urlHistory.Add(address);
  if (!state.saveAndStart) return false;
  // A project the user did not name is not downloaded into the blue.
  return app.Projects().Save() && app.StartDownload();
}

bool RunNewProjectWizard(CQNApp& app, QWidget* parent, const std::string& pageViewAddress,
                         QNPrjWizState& remembered, QNPrjWizServices services) {
  CQNPrjWiz wizard(app.Session().doc.SettingsCopy(), remembered,
                   WizardContext(app, pageViewAddress), std::move(services), app.Texts(), parent);
  const bool finished = wizard.exec() == QDialog::Accepted;
  remembered.addressMethod = wizard.State().addressMethod;
  remembered.importMethod = wizard.State().importMethod;
  if (finished) FinishNewProject(app, wizard.State(), wizard.Result());
  return finished;
}

}  // namespace qn
