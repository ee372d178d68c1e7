// A fresh folder for one test, removed with everything in it when the object goes.
#pragma once

#include <string>

class CTemporaryFolder {
public:
    // A failed test when the folder cannot be made; Path then names places below a folder that
    // does not exist.
    CTemporaryFolder();
    ~CTemporaryFolder();
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    // The name inside the folder; Path("") is the folder with a trailing '/'.
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
    bool m_made = false;
};
