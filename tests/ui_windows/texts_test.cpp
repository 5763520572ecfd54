// SPDX-License-Identifier: MIT
// Every text a user reads, in every language Quelmo speaks: the settings
// window and the guide in each of their states, the tray menu in every
// status, the frost card, the about box and the motion-access windows. A
// visible text must not be empty, must not be left in English where the
// catalogue has a translation, and must fit its box. And the English texts
// say what is true on Linux: no Mac, macOS, Finder, menu bar or Mac key symbols.
#include "app/app_status.h"
#include "app/hot_key_binding.h"
#include "app/platform_wording.h"
#include "program/usage.h"
#include "tests/ui/status_rig.h"
#include "tests/ui_windows/window_tour.h"
#include "ui/i18n/translations.h"
#include "ui/motion_access/motion_access_ui.h"
#include "ui/overlay/frost_texts.h"
#include "ui/overlay/frost_window.h"
#include "ui/tray/about_box.h"
#include "ui/tray/tray_texts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QQuickItem>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QXmlStreamReader>

namespace quelmo {
namespace {

using testing::tourWindows;

// The English sources a catalogue translates into something else, as
// patterns ("Paused until %1" matches "Paused until 15:45").
std::vector<QRegularExpression> translatedSources(const QString& language) {
    std::vector<QRegularExpression> patterns;
    if (language == QLatin1String("en")) {
        return patterns;
    }
    QFile file(QStringLiteral(QUELMO_SOURCE_DIR "/ui/i18n/quelmo_%1.ts").arg(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (!translation.isEmpty() && translation != source) {
                QString pattern = QRegularExpression::escape(source);
                pattern.replace(QRegularExpression(QStringLiteral("%\\d")), QStringLiteral(".+"));
                patterns.emplace_back(QRegularExpression::anchoredPattern(pattern));
            }
        }
    }
    return patterns;
}

// What the walks found: every visible text, and what is wrong with some.
struct Findings {
    std::vector<QRegularExpression> english; // sources that have a translation
    QStringList texts;
    QStringList problems;

    void text(const QString& shown, const QString& where) {
        if (shown.trimmed().isEmpty()) {
            problems << where + QStringLiteral(": empty text");
            return;
        }
        texts << shown;
        for (const auto& source : english) {
            if (source.match(shown).hasMatch()) {
                problems << where + QStringLiteral(": not translated: ") + shown;
                return;
            }
        }
    }
    void tooWide(const QString& shown, const QString& where, double needs, double has) {
        problems << QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                        .arg(where, shown)
                        .arg(needs)
                        .arg(has);
    }
};

bool isText(const QQuickItem* item) {
    return item->inherits("QQuickText");
}

// Whether an item lies inside its window: sideways always, up and down
// where the window does not scroll.
void withinWindow(QQuickItem* item, const QString& shown, const QString& name, bool fixedHeight,
                  Findings& found) {
    QQuickWindow* window = item->window();
    const QRectF box = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    if (box.left() < -1.0 || box.right() > window->width() + 1.0) {
        found.tooWide(shown, name + QStringLiteral(" (past the window's side)"), box.width(),
                      window->width());
    }
    if (fixedHeight && (box.top() < -1.0 || box.bottom() > window->height() + 1.0)) {
        found.problems << name + QStringLiteral(": past the window's top or bottom: ") + shown;
    }
}

// Every visible text item under `item`: its text, and whether it fits both
// its own box and the window (the guide does not scroll, so up and down too).
void walkQuick(QQuickItem* item, const QString& where, bool fixedHeight, Findings& found) {
    if (!item->isVisible() || item->opacity() == 0.0) {
        return;
    }
    const QString shown = item->property("text").toString();
    const QString name =
        where + QLatin1Char('/') +
        (item->objectName().isEmpty() ? QString::fromLatin1(item->metaObject()->className())
                                      : item->objectName());
    // A switch or button without a title has an empty label; that is no fault.
    const bool untitledControl = item->parentItem() != nullptr &&
                                 item->parentItem()->inherits("QQuickAbstractButton") &&
                                 shown.isEmpty();
    if (isText(item) && !untitledControl) {
        found.text(shown, name);
        const double needs = item->property("contentWidth").toDouble();
        if (needs > item->width() + 1.0) {
            found.tooWide(shown, name, needs, item->width());
        }
        withinWindow(item, shown, name, fixedHeight, found);
    }
    // A button draws its title with an icon label, not a text item.
    if (item->inherits("QQuickAbstractButton") && !shown.isEmpty()) {
        found.text(shown, name);
        const double needs = item->property("implicitContentWidth").toDouble();
        const double has = item->property("availableWidth").toDouble();
        if (needs > has + 1.0) {
            found.tooWide(shown, name, needs, has);
        }
        withinWindow(item, shown, name, fixedHeight, found);
    }
    for (QQuickItem* child : item->childItems()) {
        walkQuick(child, where, fixedHeight, found);
    }
}

QString plain(const QString& text) {
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// Every visible label and button of a widget window.
void walkWidgets(QWidget* window, const QString& where, Findings& found) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisible() || !label->pixmap().isNull()) {
            continue;
        }
        const QString shown = plain(label->text());
        found.text(shown, where + QStringLiteral("/label"));
        if (!label->wordWrap() && label->sizeHint().width() > label->width() + 1) {
            found.tooWide(shown, where, label->sizeHint().width(), label->width());
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisible()) {
            continue;
        }
        found.text(button->text(), where + QStringLiteral("/button"));
        if (button->sizeHint().width() > button->width() + 1) {
            found.tooWide(button->text(), where, button->sizeHint().width(), button->width());
        }
    }
    found.text(window->windowTitle(), where + QStringLiteral(" (title)"));
}

// Lets shown windows lay themselves out.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

// Lays a Qt Quick window out as for its next frame (layouts settle while it
// is drawn), by drawing it once.
void settle(QQuickWindow* window) {
    settle();
    window->grabWindow();
}

void walkTrayMenus(Findings& found) {
    using Kind = AppStatus::Kind;
    for (int k = 0; k <= static_cast<int>(Kind::away); ++k) {
        const auto kind = static_cast<Kind>(k);
        test::StatusRig s;
        s.reach(kind);
        QMenu* menu = s.controller->menu();
        QMetaObject::invokeMethod(menu, "aboutToShow");
        const QString where =
            QStringLiteral("tray menu (%1)").arg(QString::fromLatin1(kindName(kind)));
        for (QAction* action : menu->actions()) {
            if (action->isVisible() && !action->isSeparator()) {
                found.text(action->text(), where);
            }
        }
        found.text(trayToolTip(s.rig.model->status()), where + QStringLiteral(" tool tip"));
    }
}

void walkFrostCard(Findings& found) {
    for (const bool away : {false, true}) {
        FrostWindow window(QGuiApplication::primaryScreen(), Qt::black);
        window.setTexts(frostTexts(away));
        window.show();
        settle();
        walkWidgets(&window, QStringLiteral("frost card"), found);
        const int card = window.title()->parentWidget()->width();
        if (card > window.width()) {
            found.tooWide(window.hint()->text(), QStringLiteral("frost card"), card,
                          window.width());
        }
    }
}

void walkDialogs(Findings& found) {
    QMessageBox* about = makeAboutBox(QStringLiteral("1.0.0"));
    about->show();
    settle();
    walkWidgets(about, QStringLiteral("about box"), found);
    about->close();

    askForMotionAccess([](std::optional<bool>) {});
    settle();
    QTemporaryDir home;
    const std::string record = home.filePath(QStringLiteral("motion-access")).toStdString();
    for (const auto status :
         {MotionAccess::notDetermined, MotionAccess::authorized, MotionAccess::denied}) {
        std::string error;
        if (status != MotionAccess::notDetermined) {
            ASSERT_TRUE(writeMotionAccess(record, status, error)) << error;
        }
        openMotionAccessSettings({}, record);
        settle();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() &&
                window->objectName().startsWith(QLatin1String("motionAccess"))) {
                walkWidgets(window, window->objectName(), found);
            }
        }
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->close();
    }
    settle();
}

Findings walkEverything(const QString& language) {
    EXPECT_TRUE(i18n::useLanguage(language));
    Findings found;
    found.english = translatedSources(language);
    tourWindows([&found](QQuickView* window, const char* name) {
        settle(window);
        const bool guide = QString::fromLatin1(name).startsWith(QLatin1String("guide"));
        found.text(window->title(), QString::fromLatin1(name) + QStringLiteral(" (title)"));
        walkQuick(window->rootObject(), QString::fromLatin1(name), guide, found);
    });
    walkTrayMenus(found);
    walkFrostCard(found);
    walkDialogs(found);
    i18n::useLanguage(QStringLiteral("en"));
    return found;
}

class EveryLanguage : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryLanguage, EveryVisibleTextIsThereTranslatedAndFitsItsBox) {
    const Findings found = walkEverything(QString::fromLatin1(GetParam()));
    EXPECT_GT(found.texts.size(), 200) << "the walk saw too little to mean anything";
    EXPECT_TRUE(found.problems.isEmpty()) << found.problems.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Texts, EveryLanguage, ::testing::Values("en", "de", "fr", "es"));

// Words and symbols of another desktop.
const QRegularExpression
    kNotLinux(QStringLiteral("\\bMac\\b|macOS|Finder|menu bar|[\u2303\u2325\u2318]"));

TEST(LinuxWords, NoEnglishTextSpeaksOfAMac) {
    Findings found = walkEverything(QStringLiteral("en"));
    for (const AppStatus& status :
         {AppStatus::paused({}), AppStatus::needsSetup(), AppStatus::permissionDenied(),
          AppStatus::unsupported(), AppStatus::off(), AppStatus::screenLocked(),
          AppStatus::waitingForAirPods(), AppStatus::calibrating(), AppStatus::watching(),
          AppStatus::frosted(), AppStatus::away()}) {
        found.texts << status.title() << status.logTitle() << detailLineText(status.kind(), 50.0);
    }
    for (const char* source :
         {wording::unsupportedTitle, wording::waitingForEarbudsDetail,
          wording::openMotionAccessSettings, wording::frostWhenFarTitle,
          wording::frostOnDisconnectExplanation, wording::showAngleInTrayTitle,
          wording::diagnosticsExplanation, wording::showLogFolderButton, wording::privacyFooter,
          wording::welcomeBody, wording::permissionBody, wording::permissionDeniedHelp,
          wording::waitingForEarbudsBody, wording::doneTitle, wording::moveOfferMessage,
          wording::moveOfferDetail, wording::moveButton, wording::moveFailureMessage,
          wording::moveFailureDetail}) {
        found.texts << wording::translated(source);
    }
    for (const bool away : {false, true}) {
        found.texts << frostTexts(away).title << frostTexts(away).hint;
    }
    found.texts << aboutCredits() << QString::fromUtf8(kUsage);
    for (const char* file : {"/data/app.quelmo.Quelmo.desktop",
                             "/data/app.quelmo.Quelmo.metainfo.xml", "/data/quelmo.1"}) {
        QFile data(QStringLiteral(QUELMO_SOURCE_DIR) + QString::fromLatin1(file));
        ASSERT_TRUE(data.open(QIODevice::ReadOnly)) << file;
        found.texts << QString::fromUtf8(data.readAll());
    }
    for (const QString& text : found.texts) {
        EXPECT_FALSE(kNotLinux.match(text).hasMatch()) << text.toStdString();
    }
    EXPECT_TRUE(found.texts.contains(QStringLiteral("Ctrl+Alt+Super+R")));
}

TEST(Languages, TheFirstPreferredLanguageQuelmoSpeaksWinsAndEnglishIsTheFallback) {
    const auto choose = [](std::initializer_list<const char*> names) {
        QStringList preferred;
        for (const char* name : names) {
            preferred << QString::fromLatin1(name);
        }
        return i18n::chooseLanguage(preferred).toStdString();
    };
    EXPECT_EQ(choose({"de", "de-Latn-DE", "de-DE"}), "de");
    EXPECT_EQ(choose({"fr-CA"}), "fr");
    EXPECT_EQ(choose({"es_ES"}), "es");
    EXPECT_EQ(choose({"it", "es-ES"}), "es"); // Italian is not spoken: the next one
    EXPECT_EQ(choose({"en-GB", "de"}), "en"); // English asked for before German
    EXPECT_EQ(choose({"C"}), "en");
    EXPECT_EQ(choose({}), "en");
    EXPECT_FALSE(i18n::useLanguage(QStringLiteral("xx")));
    EXPECT_TRUE(i18n::useLanguage(QStringLiteral("en")));
}

TEST(Languages, TheHotKeyIsWrittenFromItsBindingInTheDesktopsWords) {
    EXPECT_EQ(recenterHotKeyText(), QStringLiteral("Ctrl+Alt+Super+R"));
    EXPECT_EQ(hotKeyText(Qt::ShiftModifier | Qt::ControlModifier | Qt::Key_A),
              QStringLiteral("Ctrl+Shift+A"));
    EXPECT_EQ(hotKeyText(Qt::MetaModifier | Qt::Key_0), QStringLiteral("Super+0"));
    EXPECT_EQ(hotKeyText(Qt::AltModifier | Qt::Key_9), QStringLiteral("Alt+9"));
    EXPECT_TRUE(hotKeyText(Qt::ControlModifier | Qt::Key_F1).isEmpty()); // not a letter or digit
    ASSERT_TRUE(i18n::useLanguage(QStringLiteral("de")));
    EXPECT_EQ(recenterHotKeyText(), QStringLiteral("Strg+Alt+Super+R"));
    EXPECT_TRUE(frostTexts(false).hint.endsWith(QStringLiteral("Strg+Alt+Super+R")));
    i18n::useLanguage(QStringLiteral("en"));
}

TEST(Languages, TheLogStaysEnglishWhateverTheLanguage) {
    ASSERT_TRUE(i18n::useLanguage(QStringLiteral("de")));
    testing::ModelRig rig;
    rig.store.set("diagnostics", "true");
    rig.start();
    rig.samples(0.0, 3.5);
    EXPECT_EQ(AppStatus::watching().title(),
              QStringLiteral("Aktiv. Schau weg, und er wird verschleiert."));
    EXPECT_EQ(rig.log.matching("status: Watching. Turn away and it frosts.").size(), 1u);
    EXPECT_TRUE(rig.log.matching("status: Aktiv").empty());
    i18n::useLanguage(QStringLiteral("en"));
}

} // namespace
} // namespace quelmo

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
