#pragma once

#include <QByteArray>

// A "210" read reply as servers send it, with `tracks` titles "Song 1" ...; every line ended by `eol`.
inline QByteArray cddbRecordReply(int tracks, const QByteArray& eol = "\r\n",
                                  const QByteArray& discTitle = "Band / Album") {
    QByteArray r = "210 rock 0a0b0c0d CD database entry follows (until terminating `.')" + eol + "# xmcd" + eol +
                   "# Track frame offsets:" + eol + "#\t150" + eol + "DISCID=0a0b0c0d" + eol + "DTITLE=" + discTitle +
                   eol + "DYEAR=1999" + eol + "DGENRE=Rock" + eol;
    for (int i = 0; i < tracks; ++i) r += "TTITLE" + QByteArray::number(i) + "=Song " + QByteArray::number(i + 1) + eol;
    return r + "EXTD=" + eol + "PLAYORDER=" + eol + "." + eol;
}
