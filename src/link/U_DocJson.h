#pragma once
#include "model/dc_RKmem.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>

// Every document field by its own name. Frequencies are exact decimal texts.
QJsonObject DocumentJson(const TRKmem& doc);

// The same fields flattened to one named value each: "RxTuning[2]",
// "Channel 3 RxFreq", "Channel 3 DecoderCode[0]", "AlphaTag 5 Text".
QList<QPair<QString, QString>> DocumentFieldList(const TRKmem& doc);
