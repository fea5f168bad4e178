// GetOpenFileNameA and GetSaveFileNameA on Qt's own file dialog (or the test's modal hook),
// with the results written in the original's layout.
#include <strings.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPointer>
#include <algorithm>
#include <cstring>

#include "platform/comdlg/commdlg.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"
#include "platform/user/records.h"

static DWORD g_dlgError;

namespace {

struct FilterPair {
    std::string display;
    std::vector<std::string> pats;
};

// The filter pairs: display text, then the patterns separated by ';' (empty ones left out).
std::vector<FilterPair> ReadFilterPairs(LPCSTR filter) {
    std::vector<FilterPair> out;
    for (const char* p = filter; p && *p;) {
        FilterPair f = {p, {}};
        p += strlen(p) + 1;
        for (const char* q = p; *q;) {
            const size_t n = strcspn(q, ";");
            if (n) f.pats.emplace_back(q, n);
            q += n + (q[n] == ';');
        }
        out.push_back(std::move(f));
        p += strlen(p) + (*p ? 1 : 0);
    }
    return out;
}

// The extension a save takes when the name has none, if there is to be one: that of the filter
// chosen when its first pattern is "*.ext" without wildcards in ext ("*.jpg;*.jpeg" gives
// "jpg"), else lpstrDefExt.
std::string GetDefExt(const OPENFILENAMEA* ofn) {
    if (!ofn->lpstrDefExt) return "";
    const std::vector<FilterPair> pairs = ReadFilterPairs(ofn->lpstrFilter);
    const DWORD index = ofn->nFilterIndex;
    if (index >= 1 && index <= pairs.size() && !pairs[index - 1].pats.empty()) {
        const std::string& pat = pairs[index - 1].pats[0];
        if (pat.size() > 2 && pat.starts_with("*.") && pat.find_first_of("*?", 2) == pat.npos)
            return pat.substr(2);
    }
    return ofn->lpstrDefExt;
}

const char* GetDlgTitle(const OPENFILENAMEA* ofn, int kind) {
    if (ofn->lpstrTitle) return ofn->lpstrTitle;
    return kind == MODAL_SAVEFILE ? "名前を付けて保存" : "開く";
}

// Where the name starts in a path: after its last '/'.
size_t GetNameAt(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The folder of a path, without a trailing '/' unless it is the root.
std::string GetFolder(const std::string& path) {
    const size_t at = GetNameAt(path);
    return path.substr(0, at > 1 ? at - 1 : at);
}

// The extension of a path's name: the text after the name's last '.'; none without a '.'.
const char* FindExt(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot != std::string::npos && dot >= GetNameAt(path) ? path.c_str() + dot + 1 : nullptr;
}

// A name as the dialog gives it, taken in lpstrInitialDir or else the current folder.
std::string MakeFullPath(const std::string& name, LPCSTR initialDir) {
    if (name[0] == '/') return name;
    std::string folder = initialDir && *initialDir
                             ? initialDir
                             : QFile::encodeName(QDir::currentPath()).toStdString();
    if (folder.back() != '/') folder += '/';
    return folder + name;
}

// The name the dialog opens with: what lpstrFile holds on the way in.
std::string GetInitName(const OPENFILENAMEA* ofn) {
    return std::string(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
}

// Runs Qt's own dialog (the desktop's would not run under the offscreen platform the tests use)
// over the owner's window; fills *files with the full paths chosen, sets nFilterIndex to the
// filter chosen and returns IDOK, or IDCANCEL.
int RunFileDlg(OPENFILENAMEA* ofn, int kind, const std::string& name,
               std::vector<std::string>* files) {
    EnsureApp();
    HWND top = IsLiveWnd(ofn->hwndOwner) ? GetTopWnd(ofn->hwndOwner) : nullptr;
    // On the heap and watched: a window procedure running meanwhile may destroy the owner's
    // widget, and the dialog with it.
    QPointer<QFileDialog> dlg =
        new QFileDialog(top ? top->widget : nullptr, QString::fromUtf8(GetDlgTitle(ofn, kind)));
    // The overwrite question is GetSaveFileNameA's own; the filters show their display texts only.
    dlg->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                    QFileDialog::HideNameFilterDetails);
    dlg->setAcceptMode(kind == MODAL_SAVEFILE ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg->setFileMode(kind == MODAL_SAVEFILE                ? QFileDialog::AnyFile
                     : (ofn->Flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                           : QFileDialog::ExistingFile);
    if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir)
        dlg->setDirectory(QFile::decodeName(ofn->lpstrInitialDir));
    QStringList filters;
    for (const std::string& f : MakeNameFilters(ofn->lpstrFilter))
        filters.append(QString::fromUtf8(f));
    if (!filters.isEmpty()) {
        dlg->setNameFilters(filters);
        const qsizetype index = ofn->nFilterIndex - 1;
        dlg->selectNameFilter(filters[index >= 0 && index < filters.size() ? index : 0]);
    }
    if (!name.empty()) dlg->selectFile(QFile::decodeName(name.c_str()));
    const bool picked = dlg->exec() == QDialog::Accepted;
    if (!dlg) return IDCANCEL;
    if (picked) {
        for (const QString& f : dlg->selectedFiles())
            files->push_back(QFile::encodeName(f).toStdString());
        // The dialog names the filter by its display text alone.
        const std::vector<FilterPair> pairs = ReadFilterPairs(ofn->lpstrFilter);
        for (size_t i = 0; i < pairs.size(); ++i)
            if (QString::fromUtf8(pairs[i].display).simplified() == dlg->selectedNameFilter()) {
                ofn->nFilterIndex = DWORD(i + 1);
                break;
            }
    }
    delete dlg;
    return picked ? IDOK : IDCANCEL;
}

// Asks the test's hook, or else the user, for files; name is the one the dialog opens with.
// Returns 1 with their full paths in *paths, 0 when cancelled. The hook's files are taken with
// the filter shown first.
int PickFiles(OPENFILENAMEA* ofn, int kind, const std::string& name,
              std::vector<std::string>* paths) {
    std::vector<std::string> files;
    ModalEvent ev = {
        kind,    ofn->hwndOwner, GetDlgTitle(ofn, kind), nullptr,         ofn->Flags, 0,
        nullptr, &files,         ofn->lpstrFilter,       ofn->lpstrDefExt};
    int answer;
    if (!CallModalHook(&ev, &answer)) answer = RunFileDlg(ofn, kind, name, &files);
    // An answer of IDOK with no file (a hook that answers every window alike) is a cancel.
    std::erase(files, std::string());
    if (answer != IDOK || files.empty()) return 0;
    if (kind == MODAL_SAVEFILE || !(ofn->Flags & OFN_ALLOWMULTISELECT)) files.resize(1);
    paths->clear();
    for (const std::string& f : files) paths->push_back(MakeFullPath(f, ofn->lpstrInitialDir));
    return 1;
}

// Writes one path, or several of one folder, into lpstrFile in the original's layout (see
// GetOpenFileNameA). Returns 0 with FNERR_BUFFERTOOSMALL and the bytes needed in the first two
// bytes when it does not fit.
int PutFileResult(OPENFILENAMEA* ofn, const std::vector<std::string>& paths) {
    std::string out;  // every byte but the final NUL
    size_t nameAt, extAt = 0;
    if (paths.size() == 1) {
        out = paths[0];
        nameAt = GetNameAt(out);
        const char* ext = FindExt(out);
        if (ext) extAt = ext - out.c_str();
    } else {
        out = GetFolder(paths[0]);
        nameAt = out.size() + 1;
        for (const std::string& p : paths) out += '\0' + p.substr(GetNameAt(p));
    }
    out += '\0';
    // A dialog that may give several names ends them with an empty one, a second NUL; one name
    // of a dialog that gives one needs only its own NUL.
    const bool multi = ofn->Flags & OFN_ALLOWMULTISELECT;
    const size_t need = out.size() + (multi ? 1 : 0);
    if (need > ofn->nMaxFile) {
        g_dlgError = FNERR_BUFFERTOOSMALL;
        const WORD size = WORD(std::min<size_t>(need, 0xFFFF));
        if (ofn->nMaxFile >= 2) {
            ofn->lpstrFile[0] = char(size & 0xFF);
            ofn->lpstrFile[1] = char(size >> 8);
        }
        return 0;
    }
    memcpy(ofn->lpstrFile, out.data(), out.size());
    if (out.size() < ofn->nMaxFile) ofn->lpstrFile[out.size()] = 0;
    ofn->nFileOffset = WORD(nameAt);
    ofn->nFileExtension = WORD(extAt);
    return 1;
}

// Appends the first three characters of the default extension to a path whose name has none.
std::string AddDefExt(const std::string& path, const std::string& defExt) {
    if (FindExt(path) || defExt.empty()) return path;
    return path + '.' + defExt.substr(0, 3);
}

// 1 when the folder of the file exists; else the user is told, and the dialog shows again.
int IsFolderThere(const OPENFILENAMEA* ofn, const std::string& path) {
    struct stat st;
    const std::string folder = GetFolder(path);
    if (stat(folder.empty() ? "/" : folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 1;
    const std::string text =
        path + "\nパスが存在しません。\nパスが正しいかどうかを確認してください。";
    MessageBoxA(ofn->hwndOwner, text.c_str(), GetDlgTitle(ofn, MODAL_SAVEFILE),
                MB_OK | MB_ICONWARNING);
    return 0;
}

// 1 when the file may be written: it does not exist, or the user agrees to replace it.
int IsOverwriteOk(const OPENFILENAMEA* ofn, const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return 1;
    const std::string text = path.substr(GetNameAt(path)) + " は既に存在します。\n上書きしますか?";
    return MessageBoxA(ofn->hwndOwner, text.c_str(), GetDlgTitle(ofn, MODAL_SAVEFILE),
                       MB_YESNO | MB_ICONWARNING) != IDNO;
}

int OpenFiles(OPENFILENAMEA* ofn) {
    std::vector<std::string> paths;
    return PickFiles(ofn, MODAL_OPENFILE, GetInitName(ofn), &paths) && PutFileResult(ofn, paths);
}

int SaveFile(OPENFILENAMEA* ofn) {
    std::string name = GetInitName(ofn);
    std::vector<std::string> paths;
    for (;;) {
        if (!PickFiles(ofn, MODAL_SAVEFILE, name, &paths)) return 0;
        name = AddDefExt(paths[0], GetDefExt(ofn));
        if ((ofn->Flags & OFN_PATHMUSTEXIST) && !IsFolderThere(ofn, name)) continue;
        if (!(ofn->Flags & OFN_OVERWRITEPROMPT) || IsOverwriteOk(ofn, name)) break;
    }
    // The extension typed, not the one added.
    const char* ext = FindExt(paths[0]);
    const bool differs = ofn->lpstrDefExt && ext && strcasecmp(ext, ofn->lpstrDefExt) != 0;
    ofn->Flags = (ofn->Flags & ~OFN_EXTENSIONDIFFERENT) | (differs ? OFN_EXTENSIONDIFFERENT : 0);
    return PutFileResult(ofn, {name});
}

// Runs a dialog with the owner's top-level window disabled, as a modal window does, and
// restores the window after.
BOOL RunOwnedDlg(OPENFILENAMEA* ofn, int (*run)(OPENFILENAMEA*)) {
    g_dlgError = 0;
    if (!ofn || !ofn->lpstrFile || !ofn->nMaxFile) return FALSE;
    HWND top = IsLiveWnd(ofn->hwndOwner) ? GetTopWnd(ofn->hwndOwner) : nullptr;
    const BOOL wasOff = top ? EnableWindow(top, FALSE) : FALSE;
    const int ok = run(ofn);
    if (top && IsLiveWnd(top)) EnableWindow(top, !wasOff);
    return ok;
}

}  // namespace

std::vector<std::string> MakeNameFilters(LPCSTR filter) {
    std::vector<std::string> out;
    for (const FilterPair& f : ReadFilterPairs(filter)) {
        std::string pats;
        for (const std::string& pat : f.pats) pats += (pats.empty() ? "" : " ") + pat;
        out.push_back(f.display + " (" + pats + ")");
    }
    return out;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
    return RunOwnedDlg(ofn, OpenFiles);
}

BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) {
    return RunOwnedDlg(ofn, SaveFile);
}

DWORD CommDlgExtendedError() {
    return g_dlgError;
}
