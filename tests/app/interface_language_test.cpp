// SPDX-License-Identifier: GPL-3.0-or-later
// The English interface beside the design's: every Korean text of the program has its English
// translation, the window shows it, and no text is cut off in its control in either language.
#include "app/interface_language.h"
#include "app/main_window.h"
#include "app/user_preferences.h"

#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace kuvar;

namespace {

bool HasHangul(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
            return true;
    return false;
}

// Source -> translation of every finished message of the English translation.
std::map<QString, QString> EnglishTranslations() {
    QFile file(QStringLiteral(KUVAR_SOURCE_DIR "/translations/kuvar_en.ts"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QXmlStreamReader xml(&file);
    std::map<QString, QString> found;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished =
                xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            const QString translation = xml.readElementText();
            if (!unfinished)
                found[source] = translation;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return found;
}

// The string literals of a C++ file, adjacent ones joined as the compiler joins them, with the
// escapes the program's texts use.
QStringList StringLiterals(const QString& code) {
    QStringList literals;
    static const QRegularExpression piece(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));
    static const QRegularExpression between(QStringLiteral(R"(^\s*$)"));
    qsizetype lastEnd = -1;
    for (auto it = piece.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString text = m.captured(1);
        text.replace(QLatin1String("\\r"), QLatin1String("\r"))
            .replace(QLatin1String("\\n"), QLatin1String("\n"))
            .replace(QLatin1String("\\\""), QLatin1String("\""))
            .replace(QLatin1String("\\\\"), QLatin1String("\\"));
        const bool joined =
            lastEnd >= 0 &&
            between.match(code.mid(lastEnd, m.capturedStart() - lastEnd)).hasMatch();
        if (joined)
            literals.back() += text;
        else
            literals << text;
        lastEnd = m.capturedEnd();
    }
    return literals;
}

TEST(EnglishInterface, EveryKoreanTextOfTheProgramHasATranslation) {
    const std::map<QString, QString> english = EnglishTranslations();
    for (const auto& [source, translation] : english) {
        EXPECT_FALSE(translation.trimmed().isEmpty()) << source.toStdString();
        EXPECT_FALSE(HasHangul(translation)) << translation.toStdString();
        // The values go where the source has them.
        for (const char* slot : {"%1", "%2"})
            EXPECT_EQ(source.contains(QLatin1String(slot)),
                      translation.contains(QLatin1String(slot)))
                << source.toStdString();
    }
    int korean = 0;
    for (const char* folder : {"app", "modules", "protocol", "charts", "widgets", "base"}) {
        QDirIterator files(QStringLiteral(KUVAR_SOURCE_DIR "/") + QLatin1String(folder),
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
        while (files.hasNext()) {
            QFile file(files.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            // Comments may speak of the Korean texts; only literals are shown.
            QString code = QString::fromUtf8(file.readAll());
            code.remove(QRegularExpression(QStringLiteral(R"(//[^\n]*)")));
            for (const QString& literal : StringLiterals(code)) {
                if (!HasHangul(literal))
                    continue;
                ++korean;
                EXPECT_TRUE(english.count(literal)) << "no English for \"" << literal.toStdString()
                                                    << "\" in " << file.fileName().toStdString();
            }
        }
    }
    EXPECT_GT(korean, 0) << "the scan found no Korean text at all";
}

TEST(EnglishInterface, MessagesAreTranslatedWithTheirValuesPutInOnce) {
    const protocol::TMessage rate = protocol::BaudrateQuestion("57600");
    const protocol::TMessage id = protocol::IdChangeQuestion("%2", "7");
    InstallLanguage(TLanguage::Design);
    EXPECT_EQ(TranslatedMessage(rate).toStdString(), rate.Text());
    EXPECT_EQ(TranslatedMessage(id).toStdString(), "센서 ID를 %2에서 7로 변경하시겠습니까?");
    InstallLanguage(TLanguage::English);
    EXPECT_EQ(TranslatedMessage(rate),
              QStringLiteral("Change the sensor's baud rate to 57600?\r\n"
                             "Afterwards, set the program's baud rate to the same."));
    EXPECT_EQ(TranslatedMessage(id), QStringLiteral("Change the sensor ID from %2 to 7?"));
    EXPECT_EQ(TranslatedMessage(protocol::kNotKuvarGy),
              QStringLiteral("This is not a KUVAR-GY product."));
    EXPECT_EQ(TranslatedMessage(protocol::kOpenComPort), QStringLiteral("Open Com port."));
    InstallLanguage(TLanguage::Design);
}

TEST(EnglishInterface, TheCommandLineChoosesElseTheKeptSettingElseTheDesign) {
    QTemporaryDir dir;
    const QString conf = dir.filePath(QStringLiteral("kuvar.conf"));
    TUserPreferences none(conf);
    EXPECT_EQ(ChooseLanguage(QString(), none), TLanguage::Design);
    EXPECT_EQ(ChooseLanguage(QStringLiteral("en"), none), TLanguage::English);
    {
        TUserPreferences kept(conf);
        kept.SetValue(QStringLiteral("Interface/Language"), QStringLiteral("en"));
        ASSERT_TRUE(kept.Save());
    }
    TUserPreferences kept(conf);
    EXPECT_EQ(ChooseLanguage(QString(), kept), TLanguage::English);
    EXPECT_EQ(ChooseLanguage(QStringLiteral("ko"), kept), TLanguage::Design);
    EXPECT_FALSE(LanguageNamed(QStringLiteral("fr")));
}

class WindowInLanguage : public ::testing::TestWithParam<TLanguage> {
protected:
    void SetUp() override { InstallLanguage(GetParam()); }
    void TearDown() override { InstallLanguage(TLanguage::Design); }
    QTemporaryDir dir;
};

TEST_P(WindowInLanguage, ShowsItsTextsWholeInEveryControl) {
    TfKUVAR w(
        TAppPaths{dir.filePath(QStringLiteral("UserSet.dat")), QStringLiteral(KUVAR_PICTURES)});
    w.show();
    const bool english = GetParam() == TLanguage::English;
    EXPECT_EQ(w.windowTitle(), english ? QStringLiteral("KUVAR Integrated Program Ver2.6")
                                       : QStringLiteral("KUVAR 통합프로그램 Ver2.6"));
    EXPECT_EQ(w.GyPage.rbGYDegrees->text(),
              english ? QStringLiteral("Angles") : QStringLiteral("각도값"));
    int measured = 0;
    for (QWidget* page : {w.AcPage.sheet, w.GyPage.sheet}) {
        w.PageControl1->setCurrentWidget(page);
        for (QWidget* control : w.findChildren<QWidget*>()) {
            if (!control->isVisible())
                continue;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(control); label && label->pixmap().isNull())
                text = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(control))
                text = button->text();
            if (text.isEmpty() || control->objectName().startsWith(QLatin1String("StatusPanel")))
                continue;
            if (english) {
                EXPECT_FALSE(HasHangul(text)) << control->objectName().toStdString();
            }
            // A push button's size hint has a minimum width of its own: its text has to fit
            // inside the frame. Labels, check boxes and radio buttons need what they hint.
            const int needed = qobject_cast<QPushButton*>(control)
                                   ? control->fontMetrics().horizontalAdvance(text) + 4
                                   : control->sizeHint().width();
            ++measured;
            EXPECT_LE(needed, control->width())
                << control->objectName().toStdString() << " cuts \"" << text.toStdString() << '"';
        }
    }
    EXPECT_GT(measured, 40) << "the window's captions were not found";
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowInLanguage,
                         ::testing::Values(TLanguage::Design, TLanguage::English),
                         [](const auto& info) {
                             return info.param == TLanguage::English ? "English" : "Design";
                         });

} // namespace
