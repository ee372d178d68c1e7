#include "support/LogCapture.h"

#include "Quillet/LogManager.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

std::string LogWrittenWhile(const std::string& file, int level, const std::function<void()>& action)
{
    std::remove(file.c_str());
    CLogManager* log = CLogManager::GetInstance();
    EXPECT_TRUE(log->Open(file.c_str(), level)) << file;
    log->SetFormat("$LEVEL|$MESSAGE");
    action();
    log->Close();
    log->SetFormat("[$LEVEL]\t$MESSAGE");
    const std::string text = "\n" + ReadWholeFile(file);
    std::remove(file.c_str());
    return text;
}
