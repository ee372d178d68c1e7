// Advisory record locks: one row per locked key naming its owner.
#include "ProductionDb/ProductionDb.h"

#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/AsciiText.h"
#include "Platform/DateTime.h"
#include "ProductionDb/MachineNames.h"

BOOL CProductionDb::ReadLock(const CProductionDbKey& key, bool& found, std::string& owner, std::string& computer,
                             CDateTime& lockingTime)
{
    CDbValues params;
    const std::string sql = "SELECT * FROM " + GetTablePrefix() + "record_locks WHERE " + KeyCondition(key, params);
    // The table's key allows one row.
    found = false;
    return ReadRows(sql, params, [&](const CDynamicRecordSetOleDb& rs) {
        found = true;
        // The column pads with blanks.
        rs.GetString(owner, "user_name");
        owner = std::string(Platform::TrimAsciiBlanks(owner));
        rs.GetString(computer, "computer_name");
        computer = std::string(Platform::TrimAsciiBlanks(computer));
        rs.GetDate(lockingTime, "locking_time");
    });
}

BOOL CProductionDb::IsLockedByOther(const CProductionDbKey& key, std::string& owner, std::string& computer,
                                    CDateTime& lockingTime)
{
    bool found = false;
    std::string holder;
    std::string holderComputer;
    CDateTime time;
    // Unreadable counts as locked: nobody should overwrite what may be another's.
    if (!ReadLock(key, found, holder, holderComputer, time))
        return TRUE;
    if (!found) {
        owner.clear();
        computer.clear();
        lockingTime = CDateTime();
        lockingTime.SetStatus(CDateTime::null);
        return FALSE;
    }
    computer = holderComputer;
    lockingTime = time;
    if (holder == LockName(owner))
        return FALSE;
    owner = holder;
    return TRUE;
}

BOOL CProductionDb::LockRecord(const CProductionDbKey& key, const std::string& owner)
{
    const std::string name = LockName(owner);
    bool found = false;
    std::string holder;
    std::string computer;
    CDateTime time;
    if (!ReadLock(key, found, holder, computer, time))
        return FALSE;
    if (found && holder != name) {
        QUILLET_POS(m_log);
        m_log.Warn("Record %s locked already by user %s", key.Format().c_str(), holder.c_str());
        return FALSE;
    }
    const CDateTime now = CDateTime::GetCurrentTime();
    if (found) {
        CDbValues params{now};
        const std::string sql = "UPDATE " + GetTablePrefix() + "record_locks SET locking_time=? WHERE " +
                                KeyCondition(key, params);
        return ExecuteSql(sql, params);
    }
    // Of two owners inserting at the same time the table's key lets one through.
    return InsertRow("record_locks", key,
                     {{"user_name", name}, {"computer_name", LockName(GetComputerNameString())}, {"locking_time", now}}) ==
                   PDB_SAVE_OK
               ? TRUE
               : FALSE;
}

BOOL CProductionDb::UnlockRecord(const CProductionDbKey& key, const std::string& owner)
{
    bool found = false;
    std::string holder;
    std::string computer;
    CDateTime time;
    if (!ReadLock(key, found, holder, computer, time))
        return FALSE;
    if (!found) {
        QUILLET_POS(m_log);
        m_log.Info("Record %s was not locked", key.Format().c_str());
        return TRUE;
    }
    if (holder != LockName(owner)) {
        QUILLET_POS(m_log);
        m_log.Warn("Record %s locked already by user %s", key.Format().c_str(), holder.c_str());
        return FALSE;
    }
    CDbValues params;
    return ExecuteSql("DELETE FROM " + GetTablePrefix() + "record_locks WHERE " + KeyCondition(key, params), params);
}
