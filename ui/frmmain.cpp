// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmmain.h"

#include <QDesktopServices>
#include <QIcon>
#include <QImageReader>
#include <QKeySequence>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QUrl>
#include <initializer_list>
#include <limits>
#include <utility>

#include "common/app_info.h"
#include "query/character_details.h"
#include "query/character_query.h"
#include "settings/a_readini.h"
#include "settings/setting_keys.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/stay_on_top.h"
#include "ui/text_fitting.h"

namespace {

constexpr int kTwipsPerInch = 1440;

// The client area of the window, in twips.
constexpr int kClientWidth = 4140;
constexpr int kClientHeight = 1335;

constexpr qreal kEntryPointSize = 12;
constexpr qreal kResultPointSize = 10.5;

const QColor kOnTopTextColour(0, 128, 0);
const QColor kCreditTextColour(255, 0, 0);

int pixels(int twips, int dotsPerInch) {
    return qRound(static_cast<double>(twips) * dotsPerInch / kTwipsPerInch);
}

// Converts the edges rather than the sizes, so that boxes that meet in twips meet in pixels.
QRect pixelRect(int left, int top, int width, int height, int dpiX, int dpiY) {
    const int x = pixels(left, dpiX);
    const int y = pixels(top, dpiY);
    return {x, y, pixels(left + width, dpiX) - x, pixels(top + height, dpiY) - y};
}

template <typename Label = QLabel>
Label* plainLabel(const char* name, const QString& text, QWidget* parent) {
    auto* const label = new Label(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    // Captions come from a file a user may edit: they are shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    return label;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

QString settingsSection() { return QString::fromUtf16(kSettingsSection); }

// A button's caption as written: an "&" is shown, not made into an access key.
QString literalCaption(const QString& text) {
    return QString(text).replace(u'&', QStringLiteral("&&"));
}

// A tooltip shows `text` as written. Qt takes a tooltip for markup whenever it looks like some,
// and markup can load images: an <img> naming a FIFO or /dev/zero would hang the window or
// exhaust its memory. Escaped, every character is text and nothing is loaded. An empty text
// stays empty: it means no tooltip at all, not an empty one.
QString literalToolTip(const QString& text) {
    if (text.isEmpty()) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QIcon pngIcon() {
    // Told the format, the reader takes Qt's own PNG decoder without asking each image plugin
    // (JPEG and the others stay unloaded).
    QImageReader reader(QStringLiteral(":/icon/tinglan.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

// The height a line of text has in a single-line box: inside its frame and Qt's margin of one
// pixel above and below.
int textHeight(const QLineEdit& box) {
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.rect = box.rect();
    option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    return box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box).height() - 2;
}

// Only a web address is handed on: the desktop's handler would also start a program or open a
// document that a line in the settings file names.
bool isWebAddress(const QUrl& url) {
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") &&
           !url.host().isEmpty();
}

}  // namespace

frmmain::frmmain(FileLocations files, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      m_files(std::move(files)) {
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("汀兰检字百宝箱"));
    setWindowIcon(pngIcon());
    useSimplifiedChineseFaces();
    setFont(windowFont());
    createControls();
    placeControls();
    connectEvents();
    m_txthanzi->setFocus();
}

void frmmain::createControls() {
    m_label3 = plainLabel("Label3", QStringLiteral("输入汉字："), this);

    m_txthanzi = new ClickableLineEdit(QStringLiteral("啊"), this);
    m_txthanzi->setObjectName(QStringLiteral("txthanzi"));
    m_txthanzi->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_txthanzi->setMaxLength(std::numeric_limits<int>::max());

    m_chkSetOnTop = new TwoStateClickCheckBox(QStringLiteral("总在最上"), this);
    m_chkSetOnTop->setObjectName(QStringLiteral("ChkSetOnTop"));
    setTextColour(m_chkSetOnTop, kOnTopTextColour);

    m_label1 = plainLabel("Label1", QStringLiteral("五笔编码："), this);

    // People paste codes into notes: the results can be selected with the mouse and copied.
    m_lblwbzxsc = plainLabel<SelectableLabel>("Lblwbzxsc", QString(), this);

    m_cmmsearch = new QPushButton(QStringLiteral("查询"), this);
    m_cmmsearch->setObjectName(QStringLiteral("Cmmsearch"));

    m_label2 = plainLabel("Label2", QStringLiteral("汉语拼音："), this);

    m_lblhypysc = plainLabel<SelectableLabel>("Lblhypysc", QStringLiteral("Label1"), this);

    m_label4 = plainLabel<ClickableLabel>("Label4", QString::fromUtf16(kMakerCreditLine), this);
    m_label4->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    setTextColour(m_label4, kCreditTextColour);
    m_label4->setCursor(Qt::PointingHandCursor);
    setCreditToolTip(QStringLiteral("请记住本站通用域名：") + QString::fromUtf16(kMakerWebAddress));

    // The caption labels reach under the text box and the results; those must stay legible.
    // The button and the check box stay above every label, as the caption of Label2 reaches
    // under the button's left edge.
    for (QWidget* const above : std::initializer_list<QWidget*>{
             m_lblwbzxsc, m_lblhypysc, m_txthanzi, m_chkSetOnTop, m_cmmsearch}) {
        above->raise();
    }

    // Labels never take the focus, so Tab cycles through these three alone.
    setTabOrder(m_txthanzi, m_cmmsearch);
    setTabOrder(m_cmmsearch, m_chkSetOnTop);
}

void frmmain::placeControls() {
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    const QFont entryFont = songFont(kEntryPointSize);
    const QFont resultFont = songFont(kResultPointSize);
    const QFont captionFont = windowFont();
    const struct {
        QWidget* control;
        int left, top, width, height;
        const QFont& font;
    } placements[] = {
        {m_label3, 240, 120, 2415, 255, entryFont},
        {m_txthanzi, 1560, 120, 735, 315, entryFont},
        {m_chkSetOnTop, 2760, 120, 1455, 255, captionFont},
        {m_label1, 240, 480, 2415, 255, captionFont},
        {m_lblwbzxsc, 1200, 480, 735, 255, resultFont},
        {m_cmmsearch, 2760, 480, 1095, 495, captionFont},
        {m_label2, 240, 720, 2535, 255, captionFont},
        {m_lblhypysc, 1200, 720, 975, 255, resultFont},
        {m_label4, 0, 1080, 4095, 255, captionFont},
    };
    for (const auto& placement : placements) {
        QWidget& control = *placement.control;
        control.setGeometry(pixelRect(placement.left, placement.top, placement.width,
                                      placement.height, dpiX, dpiY));
        // The boxes keep their designed places and sizes; the text is fitted to them.
        fitTextToBox(control, placement.font,
                     &control == m_txthanzi ? textHeight(*m_txthanzi) : control.height());
    }
    setFixedSize(pixels(kClientWidth, dpiX), pixels(kClientHeight, dpiY));
    if (const QScreen* const screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void frmmain::connectEvents() {
    connect(m_cmmsearch, &QPushButton::clicked, this, [this] { runQuery(); });

    // A default button exists only in dialogs; the window takes Enter itself, before any control
    // sees it, so the query runs once whichever control has the focus.
    auto* const enter = new QShortcut(this);
    enter->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    connect(enter, &QShortcut::activated, this, [this] { runQuery(); });

    // stateChanged fires for clicks and for changes from code alike, and not for the same state.
    connect(m_chkSetOnTop, &QCheckBox::stateChanged, this, [this] { ChkSetOnTop_Click(); });
    connect(m_label4, &ClickableLabel::clicked, this, [this] { Label4_Click(); });
    connect(m_txthanzi, &ClickableLineEdit::clicked, this, [this] { txthanzi_Click(); });
}

const FileLocations& frmmain::files() const { return m_files; }

void frmmain::runQuery() { showDetailsOf(Cmmsearch_Click(*this, m_files.historyFile)); }

void frmmain::showDetailsOf(const QString& character) {
    // An empty query changes nothing but the focus, the tooltips included.
    if (character.isEmpty()) return;
    const ResultToolTips toolTips = resultToolTips(character);
    m_lblwbzxsc->setToolTip(literalToolTip(toolTips.wubi));
    m_lblhypysc->setToolTip(literalToolTip(toolTips.pinyin));
}

QString frmmain::inputText() const { return m_txthanzi->text(); }

void frmmain::setInputText(const QString& text) { m_txthanzi->setText(text); }

void frmmain::focusInput() { m_txthanzi->setFocus(); }

void frmmain::setWubiResult(const QString& caption) {
    m_lblwbzxsc->clearSelection();
    m_lblwbzxsc->setText(caption);
}

void frmmain::setPinyinResult(const QString& caption) {
    m_lblhypysc->clearSelection();
    m_lblhypysc->setText(caption);
}

void frmmain::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(kApplicationTitle), text,
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void frmmain::setCreditToolTip(const QString& text) { m_label4->setToolTip(literalToolTip(text)); }

void frmmain::setOnTopCaption(const QString& text) { m_chkSetOnTop->setText(literalCaption(text)); }

void frmmain::setLabel1Caption(const QString& text) { m_label1->setText(text); }

void frmmain::setLabel2Caption(const QString& text) { m_label2->setText(text); }

void frmmain::setLabel3Caption(const QString& text) { m_label3->setText(text); }

void frmmain::setSearchCaption(const QString& text) { m_cmmsearch->setText(literalCaption(text)); }

void frmmain::setTitle(const QString& text) { setWindowTitle(text); }

void frmmain::clearQueryFields() {
    setInputText(QString());
    setWubiResult(QString());
    setPinyinResult(QString());
}

qint16 frmmain::onTopState() const {
    switch (m_chkSetOnTop->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
    }
    return 0;
}

void frmmain::setOnTopState(qint16 state) {
    // A state outside 0, 1 and 2 is no state of the box and leaves it as it is.
    switch (state) {
        case 0:
            m_chkSetOnTop->setCheckState(Qt::Unchecked);
            break;
        case 1:
            m_chkSetOnTop->setCheckState(Qt::Checked);
            break;
        case 2:
            m_chkSetOnTop->setCheckState(Qt::PartiallyChecked);
            break;
        default:
            break;
    }
}

void frmmain::SetWindowOnTop(qint16 state) { setStaysOnTop(*this, state == 1); }

void frmmain::ChkSetOnTop_Click() {
    // The stored state comes first: a failed write still lets the stacking change.
    WriteIniValue(m_files.settingsFile, settingsSection(), QString::fromUtf16(kSetOnTopKey),
                  onTopState() == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    SetWindowOnTop(onTopState());
}

void frmmain::Label4_Click() {
    // Read at every click: a user may have edited the address since start-up.
    const QString value = ReadIniValue(m_files.settingsFile, settingsSection(),
                                       QString::fromUtf16(kWebOnlineKey), QString());
    // An address cut at the read's limit would open another page, or lose its query.
    const QUrl address(value);
    if (!mayBeCutShort(value) && isWebAddress(address)) {
        QDesktopServices::openUrl(address);
    }
}

void frmmain::txthanzi_Click() { m_txthanzi->setSelection(0, m_txthanzi->text().size()); }
