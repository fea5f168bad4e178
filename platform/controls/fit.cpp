// Fitting what comes into a field to its input limit and to CP932.
#include "platform/controls/fit.h"

#include <QApplication>
#include <QLineEdit>
#include <QMetaObject>
#include <QToolTip>
#include <QValidator>

#include "platform/text/codepage.h"

namespace {

// The characters before the first that would cross `room` bytes.
int CountFitting(const QString& ins, size_t room) {
    size_t took = 0;
    int end = 0;
    while (end < ins.size()) {
        const int n = ins[end].isHighSurrogate() && end + 1 < ins.size() ? 2 : 1;
        const size_t cost = CountSjis(ins.mid(end, n));
        if (took + cost > room) break;
        took += cost;
        end += n;
    }
    return end;
}

void ReportFit(const TextFit* f, int fit) {
    if (fit == FIT_REFUSED) {
        QWidget* qt = f->ctl->qt;
        QToolTip::showText(qt->mapToGlobal(QPoint(0, qt->height())),
                           QString::fromUtf8("この文字は入力できません"), qt);
        return;
    }
    if (fit != FIT_CUT) return;
    QApplication::beep();
    if (!f->maxCode) return;
    HWND wnd = f->wnd;
    const WORD code = f->maxCode;
    QMetaObject::invokeMethod(
        f->ctl->qt, [wnd, code] { NotifyCmd(wnd, code); }, Qt::QueuedConnection);
}

// The first line of what comes into a one-line field, without control characters.
QString GetOneLine(const QString& ins) {
    QString out;
    for (QChar c : ins) {
        if (c == '\r' || c == '\n') break;
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F) out += c;
    }
    return out;
}

// Every change of a one-line field passes here, typed, pasted, dropped or committed; the part
// that came in is what lies between the text kept before and after it.
class LineValidator : public QValidator {
public:
    LineValidator(TextFit* f, QObject* parent) : QValidator(parent), fit(f) {}
    State validate(QString& input, int& pos) const override {
        if (fit->ctl->quiet) return Acceptable;
        const QString& old = fit->before;
        int pre = 0;
        while (pre < old.size() && pre < input.size() && old[pre] == input[pre]) ++pre;
        int suf = 0;
        while (suf < old.size() - pre && suf < input.size() - pre &&
               old[old.size() - 1 - suf] == input[input.size() - 1 - suf])
            ++suf;
        QString ins = GetOneLine(input.mid(pre, input.size() - pre - suf));
        if (FitText(fit, old.left(pre) + old.right(suf), &ins) != FIT_ALL && ins.isEmpty()) {
            input = old;  // nothing of it fits: the text stays as it was
            pos = std::min(pos, int(old.size()));
            return Acceptable;
        }
        input = old.left(pre) + ins + old.right(suf);
        pos = pre + int(ins.size());
        return Acceptable;
    }

private:
    TextFit* fit;
};

}  // namespace

size_t CountSjis(const QString& text) {
    const std::string utf8 = Utf8Of(text);
    const int n = SjisLen(utf8.c_str());
    return (n >= 0 ? size_t(n) : utf8.size()) + size_t(text.count('\n'));
}

int FitText(TextFit* f, const QString& rest, QString* ins) {
    if (ins->isEmpty()) return FIT_ALL;
    if (f->lower) *ins = ins->toLower();
    int fit = FIT_ALL;
    std::string sjis;
    const size_t used = CountSjis(rest);
    const size_t room = used < f->limit ? f->limit - used : 0;
    if (!Utf8ToSjis(Utf8Of(QString(*ins).remove('\n')).c_str(), &sjis)) {
        ins->clear();
        fit = FIT_REFUSED;
    } else if (sjis.size() + size_t(ins->count('\n')) > room) {
        ins->truncate(CountFitting(*ins, room));
        fit = FIT_CUT;
    }
    ReportFit(f, fit);
    return fit;
}

void FitLineEdit(QLineEdit* line, TextFit* fit) {
    line->setValidator(new LineValidator(fit, line));
    QObject::connect(line, &QLineEdit::textChanged, [line, fit] { fit->before = line->text(); });
}

int GetSjisTextLen(HWND wnd) {
    if (!IsLiveWnd(wnd)) return -1;
    std::string text(size_t(GetWindowTextLengthA(wnd)) + 1, '\0');
    text.resize(size_t(GetWindowTextA(wnd, text.data(), int(text.size()))));
    return SjisLen(text.c_str());
}
