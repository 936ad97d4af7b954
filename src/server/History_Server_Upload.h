#pragma once
// Putting days on the history server. A day goes in whole or not at all, and only once:
// the server keeps one row per person, machine, date and fingerprint, so a day sent again
// (its commit's answer lost, the sender killed before the outbox forgot it) changes nothing.
// A day exported again with other contents replaces that machine's earlier version of it.
#include <string>
#include <vector>

#include "history/History_Outbox.h"
#include "history/History_Server_Settings.h"
#include "server/Pg_Connection.h"

// Puts the days into the server in one transaction; false with the server's reason, and
// then none of them is there.
bool Upload_Days(Pg_Connection& connection, const History_Server_Settings& server, const std::vector<Outbox_Day>& days,
                 std::string& failure);

struct Outbox_Send_Result
{
    int Sent = 0;                // days taken out of the outbox
    bool Emptied = false;        // nothing waits any longer
    std::string Failure;         // English; why sending stopped
    bool Server_Failed = false;  // the server, not the local history, is why
};

// Sends the outbox of the history at store_path, oldest day first, one transaction per
// day; each day leaves the outbox only after the server's commit. The store is open only
// between the server's answers, never while the server is being waited for.
Outbox_Send_Result Send_Outbox(Pg_Connection& connection, const History_Server_Settings& server,
                               const std::string& store_path);

// Days that a history read in anew from the target log holds and that never reached the
// server, because the outbox was lost with the old, damaged database: every stored day
// from the first one this machine ever sent on, that the server has from no PC of this
// person and that does not wait in the outbox yet, is queued again. A date another PC of
// the person has sent is left alone: with a target log both share, this history holds
// their sum, which is not this PC's day. With only_if_new, a history made before this PC's
// latest day reached the server is left alone: its outbox is the one the exports filled.
// The number queued, or -1 with the reason.
int Queue_Days_Missing_On_Server(Pg_Connection& connection, const History_Server_Settings& server,
                                 const std::string& store_path, bool only_if_new, std::string& failure);
