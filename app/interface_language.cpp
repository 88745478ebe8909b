// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/interface_language.h"

#include "app/user_preferences.h"
#include "modules/wire_text.h"

#include <QCoreApplication>
#include <QTranslator>

// Q_INIT_RESOURCE declares the resource's function in the namespace it is used in.
static void InitTranslationsResource() {
    Q_INIT_RESOURCE(translations);
}

namespace kuvar {

std::optional<TLanguage> LanguageNamed(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("ko"))
        return TLanguage::Design;
    if (key == QLatin1String("en"))
        return TLanguage::English;
    return std::nullopt;
}

TLanguage ChooseLanguage(const QString& commandLine, const TUserPreferences& preferences) {
    if (const auto asked = LanguageNamed(commandLine))
        return *asked;
    const QString kept = preferences.Value(QStringLiteral("Interface/Language")).toString();
    return LanguageNamed(kept).value_or(TLanguage::Design);
}

void InstallLanguage(TLanguage language) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language == TLanguage::Design)
        return;
    InitTranslationsResource();
    auto* translator = new QTranslator;
    if (translator->load(QStringLiteral(":/translations/kuvar_en.qm"))) {
        QCoreApplication::installTranslator(translator);
        installed = translator;
    } else {
        delete translator;
    }
}

QString TranslatedMessage(const protocol::TMessage& message) {
    const QString source = QCoreApplication::translate("kuvar::protocol", message.source);
    QString text;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        const int slot =
            c == QLatin1Char('%') && i + 1 < source.size() ? source.at(i + 1).digitValue() - 1 : -1;
        if (slot >= 0 && slot < static_cast<int>(message.args.size())) {
            text += modules::FromWire(message.args[slot]);
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace kuvar
