// SPDX-License-Identifier: GPL-3.0-or-later
// The window frmmain driven with real key presses and mouse clicks: the query by Enter and by the
// button, Tab, Escape, the always-on-top switch, the credit line, select-all and the layout.
#include "ui/frmmain.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QWindow>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "common/app_info.h"
#include "query/history_log.h"
#include "settings/file_locations.h"
#include "settings/startup.h"
#include "tests/qt_printers.h"
#include "tests/test_files.h"

namespace {

QByteArray settingsWith(const QString& lines) {
    return gbk(QStringLiteral("[基本设置]\r\n") + lines);
}

// Types `text` as key presses that carry it, the way an input method or xdotool delivers hanzi:
// one per character, a surrogate pair whole.
void typeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length),
                            Qt::NoModifier);
        i += length - 1;
    }
}

QString focusName() {
    const QWidget* const focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

// The window as the program starts it: created for `directory`, start-up run unless told not to,
// shown and active.
std::unique_ptr<frmmain> startWindow(const QString& directory, bool runFormLoad = true) {
    auto window = std::make_unique<frmmain>(fileLocationsIn(directory));
    if (runFormLoad) {
        Form_Load(*window, window->files().settingsFile);
    }
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

template <typename Control>
Control* control(const QWidget& window, const char* name) {
    auto* const found = window.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

bool staysOnTop(const QWidget& window) {
    return window.windowHandle() &&
           window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

// Counts the times a widget is hidden: changing the stacking must never hide the window.
class HideCounter : public QObject {
public:
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            ++hides;
        }
        return false;
    }
};

}  // namespace

// Stands in for the desktop's handler of web and file addresses, so that the tests open nothing.
class AddressRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(Query, EnterWhereverTheFocusIsAndTheButtonRunTheSameQueryOnce) {
    const struct {
        const char* way;
        const char* focus;
        Qt::Key key;  // Qt::Key_unknown: a click on the button
        Qt::KeyboardModifiers modifiers;
        const char* focusAfter;
    } ways[] = {
        {"Enter in the box", "txthanzi", Qt::Key_Return, Qt::NoModifier, "txthanzi"},
        {"keypad Enter in the box", "txthanzi", Qt::Key_Enter, Qt::KeypadModifier, "txthanzi"},
        {"Enter on the button", "Cmmsearch", Qt::Key_Return, Qt::NoModifier, "Cmmsearch"},
        {"Enter on the check box", "ChkSetOnTop", Qt::Key_Return, Qt::NoModifier, "ChkSetOnTop"},
        {"a click on the button", "txthanzi", Qt::Key_unknown, Qt::NoModifier, "Cmmsearch"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        QTemporaryDir directory;
        ASSERT_TRUE(directory.isValid());
        const auto window = startWindow(directory.path());
        typeText(control<QLineEdit>(*window, "txthanzi"), QStringLiteral("啊啊"));
        control<QWidget>(*window, way.focus)->setFocus();

        if (way.key == Qt::Key_unknown) {
            QTest::mouseClick(control<QPushButton>(*window, "Cmmsearch"), Qt::LeftButton);
        } else {
            QTest::keyClick(QApplication::focusWidget(), way.key, way.modifiers);
        }

        EXPECT_EQ(window->inputText(), QStringLiteral("啊"));
        EXPECT_EQ(control<QLabel>(*window, "Lblwbzxsc")->text(), QStringLiteral("kb"));
        EXPECT_EQ(control<QLabel>(*window, "Lblhypysc")->text(), QStringLiteral("a"));
        // Exactly one record: a key that ran the query twice would append a second line.
        EXPECT_EQ(fileBytes(directory.filePath(QStringLiteral("历史记录.txt"))),
                  golden("history_after_a.txt"));
        EXPECT_EQ(focusName(), QString::fromLatin1(way.focusAfter));
        EXPECT_EQ(window->onTopState(), 0);
    }
}

TEST(Query, EscapeDoesNothing) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const auto window = startWindow(directory.path());
    typeText(control<QLineEdit>(*window, "txthanzi"), QStringLiteral("啊"));
    QTest::keyClick(control<QLineEdit>(*window, "txthanzi"), Qt::Key_Return);
    const QByteArray history = fileBytes(directory.filePath(QStringLiteral("历史记录.txt")));
    const QByteArray settings = fileBytes(directory.filePath(QStringLiteral("SetValve.ini")));

    for (const char* name : {"txthanzi", "Cmmsearch", "ChkSetOnTop"}) {
        SCOPED_TRACE(name);
        control<QWidget>(*window, name)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isMinimized());
        EXPECT_EQ(focusName(), QString::fromLatin1(name));
        EXPECT_EQ(window->inputText(), QStringLiteral("啊"));
        EXPECT_EQ(control<QLabel>(*window, "Lblwbzxsc")->text(), QStringLiteral("kb"));
    }
    EXPECT_EQ(fileBytes(directory.filePath(QStringLiteral("历史记录.txt"))), history);
    EXPECT_EQ(fileBytes(directory.filePath(QStringLiteral("SetValve.ini"))), settings);
    EXPECT_EQ(window->onTopState(), 0);
}

TEST(Query, AnEmptyRecordAttemptShowsTheMessageBoxWithTitleOneOkAndNoIcon) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const auto window = startWindow(directory.path());
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    qsizetype buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* const box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });

    // The history step with nothing to record, as only a direct call can give it.
    wbscdaochu(*window, window->files().historyFile, {}, {}, {});  // returns once OK is clicked

    EXPECT_EQ(title, QStringLiteral("汀兰码音检字百宝箱"));
    EXPECT_EQ(text, QStringLiteral("请输入所要查询的汉字！"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The box gets the focus back when the window is active again.
    ASSERT_NE(window->focusWidget(), nullptr);
    EXPECT_EQ(window->focusWidget()->objectName(), QStringLiteral("txthanzi"));
}

TEST(Focus, FirstInTheBoxThenTabCyclesBoxButtonCheckBox) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const auto window = startWindow(directory.path());
    EXPECT_EQ(focusName(), QStringLiteral("txthanzi"));

    QStringList forward, backward;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << focusName();
    }
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward << focusName();
    }
    EXPECT_EQ(forward, QStringList({"Cmmsearch", "ChkSetOnTop", "txthanzi"}));
    EXPECT_EQ(backward, QStringList({"ChkSetOnTop", "Cmmsearch", "txthanzi"}));
}

TEST(SelectAll, EveryClickIntoTheBoxSelectsItsWholeTextAndTypingReplacesIt) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const auto window = startWindow(directory.path());
    auto* const box = control<QLineEdit>(*window, "txthanzi");
    const struct {
        const char* text;
        int caretClickX;  // where the click lands, as if to place the caret
    } cases[] = {{"", 3}, {"啊", 3}, {"啊", 45}, {"啊啊啊", 25}};
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        SCOPED_TRACE(c.text);
        window->setInputText(text);
        control<QWidget>(*window, "Cmmsearch")->setFocus();  // the click brings the focus back

        for (int click = 1; click <= 2; ++click) {
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier,
                              QPoint(c.caretClickX, box->height() / 2));
            EXPECT_EQ(box->selectedText(), text) << "click " << click;
            EXPECT_EQ(box->selectionStart(), text.isEmpty() ? -1 : 0) << "click " << click;
        }
        typeText(box, QStringLiteral("字"));
        EXPECT_EQ(box->text(), QStringLiteral("字"));
    }
}

TEST(OnTop, EachStateChangeStoresTheStateAndMovesTheWindowWithoutHidingOrMovingIt) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString settings = directory.filePath(QStringLiteral("SetValve.ini"));
    // No start-up: the box alone must create the file, with the section and the one key.
    const auto window = startWindow(directory.path(), false);
    auto* const box = control<QCheckBox>(*window, "ChkSetOnTop");
    HideCounter hides;
    window->installEventFilter(&hides);
    const QRect geometry = window->geometry();
    const QWindow* const handle = window->windowHandle();

    const struct {
        const char* action;
        std::function<void()> act;
        qint16 state;
        const char* stored;
    } steps[] = {
        {"a click ticks", [&] { QTest::mouseClick(box, Qt::LeftButton); }, 1, "1"},
        {"a click clears", [&] { QTest::mouseClick(box, Qt::LeftButton); }, 0, "0"},
        {"the space bar ticks", [&] { box->setFocus(), QTest::keyClick(box, Qt::Key_Space); }, 1,
         "1"},
        {"code greys", [&] { window->setOnTopState(2); }, 2, "0"},
        {"a click ticks the greyed box", [&] { QTest::mouseClick(box, Qt::LeftButton); }, 1, "1"},
        {"code clears", [&] { window->setOnTopState(0); }, 0, "0"},
        {"code ticks", [&] { window->setOnTopState(1); }, 1, "1"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.action);
        step.act();
        EXPECT_EQ(window->onTopState(), step.state);
        EXPECT_EQ(
            fileBytes(settings),
            settingsWith(QStringLiteral("SetOnTop=%1\r\n").arg(QString::fromLatin1(step.stored))));
        EXPECT_EQ(staysOnTop(*window), step.state == 1);
        EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), step.state == 1);
        EXPECT_EQ(window->geometry(), geometry);
        EXPECT_EQ(window->windowHandle(), handle);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(hides.hides, 0);
    }

    // Setting the state the box already shows runs nothing: the file is not written again.
    ASSERT_TRUE(QFile::remove(settings));
    window->setOnTopState(1);
    EXPECT_FALSE(QFile::exists(settings));
    EXPECT_TRUE(staysOnTop(*window));
}

TEST(OnTop, AFailedWriteStillChangesTheStacking) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    // A directory where the settings file should be: the write fails.
    ASSERT_TRUE(QDir(directory.path()).mkdir(QStringLiteral("SetValve.ini")));
    const auto window = startWindow(directory.path(), false);

    QTest::mouseClick(control<QCheckBox>(*window, "ChkSetOnTop"), Qt::LeftButton);

    EXPECT_TRUE(staysOnTop(*window));
    EXPECT_TRUE(QFileInfo(directory.filePath(QStringLiteral("SetValve.ini"))).isDir());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(OnTop, StartUpWithTheStoredStateOnePutsTheWindowOnTopBeforeItIsShown) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString settings = directory.filePath(QStringLiteral("SetValve.ini"));
    putFile(settings, settingsWith(QStringLiteral("SetOnTop=1\r\n")));

    const auto window = startWindow(directory.path());

    EXPECT_EQ(window->onTopState(), 1);
    EXPECT_TRUE(staysOnTop(*window));
    EXPECT_EQ(fileBytes(settings), settingsWith(QStringLiteral("SetOnTop=1\r\n")));
}

TEST(CreditLine, AClickOpensOnlyAnHttpOrHttpsAddressReadAtThatClick) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString settings = directory.filePath(QStringLiteral("SetValve.ini"));
    AddressRecorder recorder;
    const QStringList schemes = {"http", "https", "file", "ftp", "javascript"};
    for (const QString& scheme : schemes) {
        QDesktopServices::setUrlHandler(scheme, &recorder, "open");
    }
    const auto window = startWindow(directory.path());
    auto* const label = control<QLabel>(*window, "Label4");
    const QString missing = QStringLiteral("<missing>");
    // Addresses of a given length in bytes, with a query at their end. A read gives 253 bytes
    // of a longer one, and 252 where the 253rd byte would begin a hanzi.
    const auto address = [](qsizetype bytes) {
        const QByteArray start = "https://tinglan.example/zi?q=";
        return start + QByteArray(bytes - start.size(), 'a');
    };
    const QByteArray cut = "WebOnline=" + address(300);
    const QByteArray cutBeforeHanzi = "WebOnline=" + address(252) + "汉bb";
    const QByteArray whole = address(251);
    const QByteArray wholeLine = "WebOnline=" + whole;

    // One window for all cases: each click must read the value the file holds at that moment.
    const struct {
        const char* setting;  // the WebOnline line, "<missing>" for none, nullptr for no file
        const char* opened;   // nullptr: nothing opened
    } cases[] = {
        {"WebOnline=http://tinglan.example/", "http://tinglan.example/"},
        {"WebOnline=https://tinglan.example/zi?q=1", "https://tinglan.example/zi?q=1"},
        {"WebOnline=HTTPS://Tinglan.Example/", "https://tinglan.example/"},
        {"WebOnline=", nullptr},
        {"<missing>", nullptr},
        {nullptr, nullptr},
        {"WebOnline=/nonexistent/tinglan-test-program", nullptr},
        {"WebOnline=file:///nonexistent/tinglan-test-program", nullptr},
        {"WebOnline=ftp://tinglan.example/", nullptr},
        {"WebOnline=javascript:alert(1)", nullptr},
        {"WebOnline=http:tinglan.example", nullptr},
        {cut.constData(), nullptr},
        {cutBeforeHanzi.constData(), nullptr},
        {wholeLine.constData(), whole.constData()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "no settings file");
        QFile::remove(settings);
        if (c.setting) {
            const QString line = QString::fromUtf8(c.setting);
            putFile(settings, settingsWith(line == missing ? QStringLiteral("SetOnTop=0\r\n")
                                                           : line + QStringLiteral("\r\n")));
        }
        recorder.opened.clear();

        QTest::mouseClick(label, Qt::LeftButton);

        const QList<QUrl> expected =
            c.opened ? QList<QUrl>{QUrl(QString::fromLatin1(c.opened))} : QList<QUrl>{};
        EXPECT_EQ(recorder.opened, expected);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    for (const QString& scheme : schemes) {
        QDesktopServices::unsetUrlHandler(scheme);
    }
}

namespace {

// The tooltip on show, as the user reads it; empty when none shows within five seconds.
QString shownToolTip() {
    for (int i = 0; i < 100 && !QToolTip::isVisible(); ++i) {
        QTest::qWait(50);
    }
    if (!QToolTip::isVisible()) {
        return QString();
    }
    QTextDocument shown;
    shown.setHtml(QToolTip::text());
    return shown.toPlainText();
}

// Opens `fifo` (if any) for writing two seconds on, which releases a reader stuck opening it, so
// that a window that hangs on it fails the test instead of hanging it. Returns whether it found
// one.
std::future<bool> releaseFifoReaderLater(const QByteArray& fifo) {
    if (fifo.isEmpty()) {
        return std::async(std::launch::deferred, [] { return false; });
    }
    return std::async(std::launch::async, [fifo] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
        return fd >= 0 && ::close(fd) == 0;
    });
}

}  // namespace

TEST(SettingsText, TheToolTipShowsAsWrittenAndLoadsNothingWhileTheWindowAnswers) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QByteArray fifo = QFile::encodeName(directory.filePath(QStringLiteral("fifo")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // In this order: a window that loads the FIFO fails before /dev/zero could eat the memory.
    const char* const toolTips[] = {
        "<b>x</b>",
        "a  b &amp; <i>c</i> & d",
        "<img src=\"file://FIFO\">",
        "<p><img src=\"FIFO\" width=10></p>",
        "<img src=\"file:///dev/zero\">",
    };
    for (const char* const written : toolTips) {
        const QString toolTip = QString::fromUtf8(written).replace(QStringLiteral("FIFO"),
                                                                   QString::fromLocal8Bit(fifo));
        SCOPED_TRACE(toolTip.toStdString());
        putFile(directory.filePath(QStringLiteral("SetValve.ini")),
                settingsWith(QStringLiteral("ToolTipText=") + toolTip + QStringLiteral("\r\n")));
        const auto window = startWindow(directory.path());
        auto* const label = control<QLabel>(*window, "Label4");
        const bool namesFifo = toolTip.contains(QString::fromLocal8Bit(fifo));
        std::future<bool> fifoReader = releaseFifoReaderLater(namesFifo ? fifo : QByteArray());

        QTest::mouseMove(window.get(), QPoint(1, 1));
        QTest::mouseMove(label, label->rect().center());
        const QString shown = shownToolTip();

        ASSERT_FALSE(fifoReader.get()) << "the window opened the FIFO";
        ASSERT_EQ(shown, toolTip);
        // The window still answers: a click on the button runs the query.
        typeText(control<QLineEdit>(*window, "txthanzi"), QStringLiteral("啊"));
        QTest::mouseClick(control<QPushButton>(*window, "Cmmsearch"), Qt::LeftButton);
        EXPECT_EQ(control<QLabel>(*window, "Lblwbzxsc")->text(), QStringLiteral("kb"));
        QToolTip::hideText();
    }
}

// Hovering the results after a query shows every code by level, a code's place where it offers
// other characters first, the strokes, and every reading with tones or else the historical ones,
// also for a character the tables do not hold; a result can be selected and copied.
TEST(Results, TooltipsGiveEveryCodeAndReadingAndTheResultsCanBeCopied) {
    const struct {
        const char* query;
        const char* wubi;
        const char* codes;
        const char* readings;
    } cases[] = {
        {"长", "ta", "二级简码：ta\n三级简码：tay\n全码：tayi\n笔画：4（丿一乚丶）",
         "读音：cháng、zhǎng"},
        {"曹", "None!", "三级简码：gma\n全码：gmaj\n笔画：11（一丨乚一丨丨一丨乚一一）",
         "读音：cáo"},
        {"a", "None!", "", ""},
        {"鬈", "deu",
         "三码：deu（第2位）\n全码：deub\n笔画：18（一丨一一一乚丶丿丿丿丶丿一一丿丶乚乚）",
         "读音：quán"},
        {"\U000228F5", "None!",
         "全码：ndff（第3位）\n笔画：17（丶丶丨一丿一丨一丨乚一丶丿一一丨丶）", "旧读：chú"},
    };
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const auto window = startWindow(directory.path());
    auto* const box = control<QLineEdit>(*window, "txthanzi");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        box->clear();
        typeText(box, QString::fromUtf8(c.query));
        QTest::keyClick(box, Qt::Key_Return);
        auto* const wubi = control<QLabel>(*window, "Lblwbzxsc");
        ASSERT_EQ(wubi->text(), QString::fromUtf8(c.wubi));
        const struct {
            const char* name;
            const char* expected;
        } fields[] = {{"Lblwbzxsc", c.codes}, {"Lblhypysc", c.readings}};
        for (const auto& field : fields) {
            QTest::mouseMove(window.get(), QPoint(1, 1));
            QToolTip::hideText();
            QTRY_VERIFY(!QToolTip::isVisible());
            QTest::mouseMove(control<QLabel>(*window, field.name),
                             control<QLabel>(*window, field.name)->rect().center());
            EXPECT_EQ(shownToolTip(), QString::fromUtf8(field.expected)) << field.name;
        }
    }
    QToolTip::hideText();

    // A drag across the Wubi result selects it; Ctrl+C puts it on the clipboard.
    auto* const wubi = control<QLabel>(*window, "Lblwbzxsc");
    QApplication::clipboard()->clear();
    QTest::mousePress(wubi, Qt::LeftButton, Qt::NoModifier, QPoint(0, wubi->height() / 2));
    QTest::mouseMove(wubi, QPoint(wubi->width() - 1, wubi->height() / 2));
    QTest::mouseRelease(wubi, Qt::LeftButton, Qt::NoModifier,
                        QPoint(wubi->width() - 1, wubi->height() / 2));
    QTest::keyClick(wubi, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("None!"));
}

TEST(SettingsText, AnAmpersandInACaptionIsShownAndMakesNoAccessKey) {
    const struct {
        const char* key;
        const char* name;
        const char* caption;
        Qt::Key accessKey;
    } captions[] = {
        {"MeSetOnTop", "ChkSetOnTop", "&Top", Qt::Key_T},
        {"MeCmmsearch", "Cmmsearch", "&Query", Qt::Key_Q},
        {"MeCmmsearch", "Cmmsearch", "R&&D &", Qt::Key_D},
    };
    for (const auto& c : captions) {
        SCOPED_TRACE(c.caption);
        QTemporaryDir directory;
        ASSERT_TRUE(directory.isValid());
        const QString settings = directory.filePath(QStringLiteral("SetValve.ini"));
        const QString caption = QString::fromUtf8(c.caption);
        putFile(settings, settingsWith(QStringLiteral("SetOnTop=0\r\n%1=%2\r\n")
                                           .arg(QString::fromLatin1(c.key), caption)));
        const QByteArray before = fileBytes(settings);
        const auto window = startWindow(directory.path());
        auto* const button = control<QAbstractButton>(*window, c.name);
        typeText(control<QLineEdit>(*window, "txthanzi"), QStringLiteral("啊"));

        QTest::keyClick(window.get(), c.accessKey, Qt::AltModifier);

        // The accessible name is the caption as drawn, access-key marks taken out.
        QAccessibleInterface* const accessible = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), caption);
        EXPECT_EQ(window->onTopState(), 0);
        EXPECT_EQ(fileBytes(settings), before);
        EXPECT_EQ(control<QLabel>(*window, "Lblwbzxsc")->text(), QString());
        EXPECT_FALSE(QFile::exists(directory.filePath(QStringLiteral("历史记录.txt"))));
    }
}

namespace {

int pixels(int twips, int dotsPerInch) {
    return qRound(static_cast<double>(twips) * dotsPerInch / 1440);
}

// The bounding box of every pixel of `widget`, drawn alone, that differs from its top-left one:
// the ink of its text (and of a check box's indicator).
QRect inkBox(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    const QRgb background = image.pixel(0, 0);
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

}  // namespace

TEST(Layout, ControlsSitWhereDesignedAtTheScreensResolution) {
    frmmain window(fileLocationsIn(QDir::tempPath()));
    const int dpiX = window.logicalDpiX();
    const int dpiY = window.logicalDpiY();
    const struct {
        const char* name;
        int left, top, width, height;  // twips
    } designed[] = {
        {"Label3", 240, 120, 2415, 255},       {"txthanzi", 1560, 120, 735, 315},
        {"ChkSetOnTop", 2760, 120, 1455, 255}, {"Label1", 240, 480, 2415, 255},
        {"Lblwbzxsc", 1200, 480, 735, 255},    {"Cmmsearch", 2760, 480, 1095, 495},
        {"Label2", 240, 720, 2535, 255},       {"Lblhypysc", 1200, 720, 975, 255},
        {"Label4", 0, 1080, 4095, 255},
    };
    for (const auto& d : designed) {
        SCOPED_TRACE(d.name);
        const QRect expected(
            QPoint(pixels(d.left, dpiX), pixels(d.top, dpiY)),
            QPoint(pixels(d.left + d.width, dpiX) - 1, pixels(d.top + d.height, dpiY) - 1));
        EXPECT_EQ(control<QWidget>(window, d.name)->geometry(), expected) << dpiX << " dpi";
    }
    const QSize client(pixels(4140, dpiX), pixels(1335, dpiY));
    EXPECT_EQ(window.size(), client);
    EXPECT_EQ(window.minimumSize(), client);
    EXPECT_EQ(window.maximumSize(), client);
    if (dpiX == 96 && dpiY == 96) {
        EXPECT_EQ(client, QSize(276, 89));
    }
    // Where boxes overlap, the one that must stay legible (and clickable) is on top.
    const struct {
        const char* above;
        const char* below;
    } stacked[] = {{"txthanzi", "Label3"},
                   {"Lblwbzxsc", "Label1"},
                   {"Lblhypysc", "Label2"},
                   {"Cmmsearch", "Label2"}};
    for (const auto& s : stacked) {
        SCOPED_TRACE(std::string(s.above) + " over " + s.below);
        auto* const above = control<QWidget>(window, s.above);
        const QRect overlap = above->geometry() & control<QWidget>(window, s.below)->geometry();
        ASSERT_FALSE(overlap.isEmpty());
        EXPECT_EQ(window.childAt(overlap.center()), above);
    }
    // The credit line ends exactly at the bottom edge.
    EXPECT_EQ(control<QWidget>(window, "Label4")->geometry().bottom(), client.height() - 1);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST(Layout, NoTextIsClippedAtTheScreensResolution) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    frmmain window(fileLocationsIn(directory.path()));
    const struct {
        const char* name;
        QStringList texts;
    } shown[] = {
        // Design-time captions, start-up's default captions, the widest and deepest results.
        {"Label3", {"输入汉字：", "输入汉字:"}},
        {"Label1", {"五笔编码：", "五笔编码:"}},
        {"Label2", {"汉语拼音：", "汉语拼音:"}},
        {"Lblwbzxsc", {"None!", "ftjb", "yxif", "gggg", "qkqq"}},
        {"Lblhypysc", {"Label1", "zhuang", "jiong", "qy", "gou"}},
        {"Label4", {QString::fromUtf16(kMakerCreditLine)}},
        {"ChkSetOnTop", {"总在最上", "总在最上:"}},
    };
    for (const auto& s : shown) {
        auto* const widget = control<QWidget>(window, s.name);
        // The check box reaches past the window's right edge; its text must end before that.
        const int visibleWidth = std::min(widget->width(), window.width() - widget->x());
        for (const QString& text : s.texts) {
            SCOPED_TRACE(std::string(s.name) + " showing " + text.toStdString());
            widget->setProperty("text", text);
            const QRect ink = inkBox(widget);
            // The same control with room to spare shows how much ink the text really has.
            const QSize designed = widget->size();
            widget->resize(designed * 3);
            const QSize unclipped = inkBox(widget).size();
            widget->resize(designed);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_EQ(ink.size(), unclipped);
            EXPECT_LT(ink.right(), visibleWidth) << "visible width " << visibleWidth;
        }
    }
}

// Run under several locales (the test command sets them): the locale must not choose the faces.
TEST(Fonts, HanziAreDrawnInSimplifiedChineseFacesWhateverTheLocale) {
    const QStringList simplified = {"Noto Sans CJK SC", "Noto Serif CJK SC", "AR PL UMing CN"};
    const QStringList installed = QFontDatabase::families();
    if (std::none_of(simplified.begin(), simplified.end(),
                     [&](const QString& face) { return installed.contains(face); })) {
        GTEST_SKIP() << "no Simplified Chinese face is installed";
    }
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const auto window = startWindow(directory.path());
    window->setInputText(QStringLiteral("够啊"));
    const struct {
        const char* what;
        QFont font;
        QString text;
    } drawn[] = {
        {"Label3", control<QWidget>(*window, "Label3")->font(), "输入汉字："},
        {"txthanzi", control<QWidget>(*window, "txthanzi")->font(), "够啊"},
        {"Label1", control<QWidget>(*window, "Label1")->font(), "五笔编码："},
        {"Label2", control<QWidget>(*window, "Label2")->font(), "汉语拼音："},
        {"ChkSetOnTop", control<QWidget>(*window, "ChkSetOnTop")->font(), "总在最上"},
        {"Cmmsearch", control<QWidget>(*window, "Cmmsearch")->font(), "查询"},
        {"Label4", control<QWidget>(*window, "Label4")->font(), "汀兰码音开发组 出品"},
        {"the tooltip", QToolTip::font(), "请记住本站通用域名："},
        {"the message box", QApplication::font("QMessageBox"), "请输入所要查询的汉字！"},
    };
    for (const auto& d : drawn) {
        SCOPED_TRACE(d.what);
        QTextLayout layout(d.text, d.font, window.get());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QString face = run.rawFont().familyName();
            if (face.contains(QStringLiteral("CJK")) || face.startsWith(QStringLiteral("AR PL"))) {
                EXPECT_TRUE(simplified.contains(face)) << face.toStdString();
            }
        }
    }
}

#include "frmmain_test.moc"
