#pragma once
#include "ui/dialogs/D_ParamDialog.h"

#include <string>

// "Marketing Prameters": serial number and market version.
class TfrmMarket : public TParamDialogOf<TfrmMarket> {
    Q_OBJECT
public:
    TfrmMarket(TRKmem& doc, TProgramMode mode, TPrompt& prompt, QWidget* parent = nullptr);

    // The serial number as it is committed: blanks trimmed, an empty one
    // becomes 12345678, padded with blanks to eight characters.
    static std::string SerialNumberText(const std::string& text);
};
