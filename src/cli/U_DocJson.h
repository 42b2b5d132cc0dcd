#pragma once
#include "model/dc_RKmem.h"

#include <QJsonObject>

// Every document field by its own name (model/U_Fields.h). Frequencies are
// exact decimal texts.
QJsonObject DocumentJson(const TRKmem& doc);
