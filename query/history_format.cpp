// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/history_format.h"

#include "common/app_info.h"
#include "textfiles/gbk_text.h"

namespace {

using namespace Qt::StringLiterals;

constexpr qsizetype kFieldWidth = 28;

const QString kLineEnd = u"\r\n"_s;

QString repeated(char16_t character, qsizetype count) { return QString(count, QChar(character)); }

QString blanks(qsizetype count) { return repeated(u' ', count); }

// A field of the header is its text and blanks up to kFieldWidth GBK bytes. The header's own
// texts are all in GBK.
QString fieldLine(const QString& label, QStringView field) {
    const qsizetype width = encodeGbkReplacing(field).value_or(QByteArray()).size();
    return u"║"_s + blanks(3) + label + blanks(2) + field.toString() + blanks(kFieldWidth - width) +
           u"║"_s;
}

}  // namespace

std::optional<QByteArray> historyHeaderBytes() {
    const QString lines[] = {
        blanks(6) + u"╭"_s + repeated(u'─', 15) + u"╮"_s,
        u"╭══┤"_s + blanks(6) + QString::fromUtf16(kApplicationTitle) + blanks(6) + u"├══╮"_s,
        u"║"_s + blanks(4) + u"╰"_s + repeated(u'─', 15) + u"╯"_s + blanks(4) + u"║"_s,
        fieldLine(u"程序设计:"_s, kMakerName),
        fieldLine(u"服务邮箱:"_s, kMakerEmail),
        fieldLine(u"网站支持:"_s, kMakerWebAddress),
        u"║"_s + blanks(2) + u"╭"_s + repeated(u'─', 17) + u"╮"_s + blanks(2) + u"║"_s,
        u"╰═┤"_s + blanks(2) + u"注: 本软件共收录6564个汉字编码"_s + blanks(2) + u"├═╯"_s,
        blanks(4) + u"╰"_s + repeated(u'─', 17) + u"╯"_s,
        QString(),
    };
    QString header;
    for (const QString& line : lines) header += line + kLineEnd;
    return encodeGbkReplacing(header);
}

std::optional<QByteArray> historyRecordBytes(const QString& queryText, const QString& wubiResult,
                                             const QString& pinyinResult) {
    // One "?" for each character that GBK lacks: a surrogate pair as one, a lone surrogate as
    // one. The line ends in the line end, so no lone high surrogate comes last.
    return encodeGbkReplacing(queryText + blanks(4) + u"五笔编码: "_s + wubiResult + blanks(4) +
                              u"汉语拼音:"_s + pinyinResult + kLineEnd);
}
