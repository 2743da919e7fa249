// "Copy Project": the wizard refuses a ZIP password it cannot use, and its answers
// drive the copy on a pool thread to an encrypted archive of the project.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include "storage/ZipArchive.h"
#include "text/MessageIds.h"
#include "ui/CopyJob.h"
#include "ui/CopyWizard.h"
#include "ui/DialogRig.h"
#include "ui/WizardIds.h"

namespace qn::test {
namespace {

TEST(CopyWizard, RefusedPasswordsThenAnEncryptedZipCopy) {
  AppRig rig;
  CQNApp& app = *rig.app;
  const TempDir& dir = rig.dir;
  ASSERT_TRUE(app.Projects().SaveAs((dir / "garden.qnp").string()));

  std::vector<int> warnings;
  QNTexts texts;
  CQNCopyWiz wizard(app.Session().Path(), (dir / "copies").string(), texts,
                    [&](int id) { warnings.push_back(id); });
  wizard.restart();
  wizard.next();
  Find<QCheckBox>(&wizard, kIdcCopyZip)->setChecked(true);
  Find<QCheckBox>(&wizard, kIdcCopyDownloaded)->setChecked(false);
  Find<QCheckBox>(&wizard, kIdcCopyProjectFiles)->setChecked(false);
  EXPECT_FALSE(wizard.button(QWizard::NextButton)->isEnabled());
  Find<QCheckBox>(&wizard, kIdcCopyProjectFiles)->setChecked(true);
  EXPECT_TRUE(wizard.button(QWizard::NextButton)->isEnabled());

  auto* password = Find<QLineEdit>(&wizard, kIdcCopyPassword);
  auto* confirm = Find<QLineEdit>(&wizard, kIdcCopyConfirm);
  const int files = wizard.currentId();
  password->setText("s3cret");
  wizard.next();
  confirm->setText("s3creT");
  wizard.next();
  password->setText(
      "s\xC3\xA9"
      "cret");
  wizard.next();
  EXPECT_EQ(wizard.currentId(), files);
  EXPECT_EQ(warnings,
            (std::vector<int>{kMsgNeedConfirmation, kMsgConfirmFailed, kMsgPasswordNotAscii}));
  password->setText("s3cret");
  confirm->setText("s3cret");
  wizard.next();
  ASSERT_NE(wizard.currentId(), files);
  EXPECT_EQ(Find<QLineEdit>(&wizard, kIdcCopyDestination)->text().toStdString(),
            (dir / "copies").string());
  wizard.next();
  EXPECT_TRUE(wizard.button(QWizard::FinishButton)->isEnabled());

  const QNCopyRequest request = wizard.Request();
  EXPECT_TRUE(request.asZip);
  EXPECT_TRUE(request.projectFiles);
  EXPECT_FALSE(request.downloadedFiles);
  EXPECT_EQ(request.password, "s3cret");

  QNCopyJob job;
  std::optional<bool> copied;
  QEventLoop loop;
  QObject::connect(&job, &QNCopyJob::Finished, &loop, [&](bool result) {
    copied = result;
    loop.quit();
  });
  QTimer::singleShot(30000, &loop, &QEventLoop::quit);
  QNProjectSession& session = app.Session();
  ASSERT_TRUE(job.Start(session.Files(), session.doc.Tree(), request, session.Messenger()));
  EXPECT_FALSE(job.Start(session.Files(), session.doc.Tree(), request, session.Messenger()));
  loop.exec();
  ASSERT_EQ(copied, true);

  QNZipReader zip((dir / "copies" / "garden.zip").string());
  ASSERT_GE(zip.Entries(), 1);
  EXPECT_NE(zip.Name(0).find("garden.qnp"), std::string::npos);
  EXPECT_TRUE(zip.IsEncrypted(0));
  EXPECT_NO_THROW(zip.Verify("s3cret"));
  EXPECT_THROW(zip.Verify("wrong"), QNZipError);
}

}  // namespace
}  // namespace qn::test
