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
// Creates the maker folder and AppFolder (readable by the user only); existing ones are fine,
// an existing AppFolder of the user's own is made readable by the user only. 0 when AppFolder is
// not there afterwards.
int CreateDir();
// AppFolder + name into a MAX_PATH buffer; 0 when it does not fit.
int MakeAppFilePath(const char* name, char* path);
