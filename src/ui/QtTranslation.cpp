#include "ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <optional>

#include "text/Texts.h"

namespace qn {
namespace {

// The Qt language whose English name is `name`, case-blind.
std::optional<QLocale::Language> LanguageNamed(const QString& name) {
  for (int l = QLocale::C + 1; l <= QLocale::LastLanguage; ++l) {
    const auto language = static_cast<QLocale::Language>(l);
    if (QLocale::languageToString(language).compare(name, Qt::CaseInsensitive) == 0)
      return language;
  }
  return std::nullopt;
}

}  // namespace

QNQtTranslation::~QNQtTranslation() {
  Remove();
}

void QNQtTranslation::Remove() {
  if (!translator_) return;
  QCoreApplication::removeTranslator(translator_.get());
  translator_.reset();
}

void QNQtTranslation::Apply(const QNTexts& texts) {
  Remove();
  const auto table = texts.Installed();
  if (!table) return;
  const auto language = LanguageNamed(QString::fromStdString(table->Name()));
  if (!language || *language == QLocale::English) return;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QLocale(*language), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return;
  QCoreApplication::installTranslator(translator.get());
  translator_ = std::move(translator);
}

}  // namespace qn
