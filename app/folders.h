// The program folder and the application folder with its working files.
#pragma once

// Working files of the application folder.
constexpr const char* kTempBmpName = "temp.bmp";
constexpr const char* kTempJpgName = "temp.JPG";
constexpr const char* kLogName = "log.log";
constexpr const char* kAdrName = "quillet_adr.csv";

// ModuleDir from the program file's path. 0 when the platform gives no (complete) path.
int GetAppPath();
// AppDataPath and AppFolder from the user's application-data folder. 0 when it is unknown.
int GetAppFolder();
// Creates every missing folder of AppFolder's path (readable by the user only); existing ones are
// fine, an existing AppFolder of the user's own is made readable by the user only. 0 when
// AppFolder is not there afterwards.
int CreateDir();
// AppFolder + name into a MAX_PATH buffer; 0 when it does not fit.
int MakeAppFilePath(const char* name, char* path);
// MakeAppFilePath for a file about to be written: when the application folder has gone since
// the start (removed while the program runs), it is made again first, as at a start. 0 when the
// path does not fit or the folder cannot be made.
int PrepAppFilePath(const char* name, char* path);
