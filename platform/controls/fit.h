// Text coming into a field, by keys, paste, drop or an input method: the input limit in bytes
// of the CP932 form, characters that have no CP932 form refused, lower case where asked.
#pragma once

#include <QString>

#include "platform/controls/records.h"

class QLineEdit;

struct TextFit {
    CtlRec* ctl = nullptr;  // the field's control: its text changes by the program are not fitted
    HWND wnd = nullptr;
    size_t limit = 0;  // bytes of CP932 text the user may bring the text up to
    bool lower = false;
    WORD maxCode = 0;  // sent to the parent when an insertion is cut (EN_MAXTEXT); 0: none
    QString before;    // one-line field: the text before the change being fitted
};

enum { FIT_ALL, FIT_CUT, FIT_REFUSED };

// Bytes of the CP932 form of text whose line breaks are single line feeds (CR LF: 2 each). Text
// that has no CP932 form (the program may set any) counts by its UTF-8 bytes.
size_t CountSjis(const QString& text);

// Fits `ins`, to go in beside the text `rest` that stays: all of it, the characters before the
// first one that would cross the limit, or nothing when a character has no CP932 form. The
// person typing is told of a refusal, the parent hears of a cut once the field is done with the
// change. Returns FIT_*.
int FitText(TextFit* fit, const QString& rest, QString* ins);

// Makes one-line field `line` fit all that comes into it: only its first line, no control
// characters.
void FitLineEdit(QLineEdit* line, TextFit* fit);
