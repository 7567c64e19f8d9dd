// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/history_format.h"

#include <QStringEncoder>

#include "common/app_info.h"

namespace {

using namespace Qt::StringLiterals;

constexpr qsizetype kFieldWidth = 28;

constexpr char kLineEnd[] = "\r\n";

// Stateless: each text is converted whole, nothing is held back for a following call.
QStringEncoder gbkEncoder() { return QStringEncoder("GBK", QStringConverter::Flag::Stateless); }

QString repeated(char16_t character, qsizetype count) { return QString(count, QChar(character)); }

QString blanks(qsizetype count) { return repeated(u' ', count); }

// The header's own text is all in GBK, so it is encoded as it stands.
QByteArray fieldLine(QStringEncoder& gbk, const QString& label, QStringView field) {
    const QByteArray text = gbk.encode(field);
    return gbk.encode(u"║"_s + blanks(3) + label + blanks(2)) + text +
           QByteArray(kFieldWidth - text.size(), ' ') + gbk.encode(u"║"_s) + kLineEnd;
}

}  // namespace

std::optional<QByteArray> historyHeaderBytes() {
    QStringEncoder gbk = gbkEncoder();
    if (!gbk.isValid()) {
        return std::nullopt;
    }
    QByteArray header;
    const auto addLine = [&](const QString& line) { header += gbk.encode(line) + kLineEnd; };
    addLine(blanks(6) + u"╭"_s + repeated(u'─', 15) + u"╮"_s);
    addLine(u"╭══┤"_s + blanks(6) + QString::fromUtf16(kApplicationTitle) + blanks(6) + u"├══╮"_s);
    addLine(u"║"_s + blanks(4) + u"╰"_s + repeated(u'─', 15) + u"╯"_s + blanks(4) + u"║"_s);
    header += fieldLine(gbk, u"程序设计:"_s, kMakerName);
    header += fieldLine(gbk, u"服务邮箱:"_s, kMakerEmail);
    header += fieldLine(gbk, u"网站支持:"_s, kMakerWebAddress);
    addLine(u"║"_s + blanks(2) + u"╭"_s + repeated(u'─', 17) + u"╮"_s + blanks(2) + u"║"_s);
    addLine(u"╰═┤"_s + blanks(2) + u"注: 本软件共收录6564个汉字编码"_s + blanks(2) + u"├═╯"_s);
    addLine(blanks(4) + u"╰"_s + repeated(u'─', 17) + u"╯"_s);
    addLine(QString());
    return header;
}

std::optional<QByteArray> historyRecordBytes(const QString& queryText, const QString& wubiResult,
                                             const QString& pinyinResult) {
    QStringEncoder gbk = gbkEncoder();
    if (!gbk.isValid()) {
        return std::nullopt;
    }
    const QString line = queryText + blanks(4) + u"五笔编码: "_s + wubiResult + blanks(4) +
                         u"汉语拼音:"_s + pinyinResult;
    // The converter writes one "?" for each character that GBK lacks: a surrogate pair as one,
    // a lone surrogate as one. (Only a lone high surrogate at the very end of a text would be
    // dropped instead, and the line ends in the pinyin result, which is plain letters.)
    return gbk.encode(line) + kLineEnd;
}
