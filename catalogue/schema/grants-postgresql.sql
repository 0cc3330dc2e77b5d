-- Rights on the PostgreSQL catalogue (database "Net"), applied by the owner
-- of the tables after postgresql.sql. The program's login gets exactly what
-- the program's statements need and nothing more:
--
--   read     every content table and the machine tables it selects from:
--            Net, UsersM, NetType, BigType, GG, LoadInfo, Edition
--   insert   UsersM, LoadInfo, LeaveWord, only the columns the program gives
--   update   the counters and the time written with them:
--            Net.UserCount, Net.SumCount, Net.WriteTime, UsersM.UseCount,
--            UsersM.Writetime, NetType.N_Count, LoadInfo.LoadTime
--
-- and never delete, truncate, drop, alter, create, or read LeaveWord. An
-- update's WHERE clause reads columns, which needs select on them; every
-- table the program updates is also one it selects from, so the table-wide
-- select covers it. LeaveWord gets no select at all: a statement of the form
-- "update ... where" on it would need one, and the program only inserts.
--
-- LeaveWord.LeaveWordID is an identity column. PostgreSQL draws an identity
-- column's value from its sequence without checking rights on the sequence,
-- so the insert needs no usage on LeaveWord_LeaveWordID_seq (a serial
-- column would). The integration suite runs that insert under this login.
--
-- Net.NetAddress. The one statement that rewrites it is the address tidy-up
-- of the main window, "Update net set NetAddress=:NetAddress where
-- NetID=:NetID". Its button is never visible, so no user of the program can
-- run it; it is a maintainer's command. Every installation connects with the
-- same login and the password every copy of the program carries, so a right
-- given to the program's login is a right given to anyone holding a copy.
-- Rewriting addresses would let anyone redirect every catalogue link of every
-- installation. The program's login therefore does NOT get update on
-- NetAddress: under it the tidy-up stops at the first address it would change
-- with the server's "permission denied", and nothing is written. The role
-- velmora_upkeep holds that one extra right for a maintainer's own login, on
-- which the same program runs the tidy-up to completion.
--
-- The program's login is called velmora here; a deployment with another
-- login name grants velmora_program to that login instead (last lines).

revoke all on database "Net" from public;
revoke all on schema public from public;

create role velmora_program nologin;
grant connect on database "Net" to velmora_program;
grant usage on schema public to velmora_program;

grant select on Net, UsersM, NetType, BigType, GG, LoadInfo, Edition to velmora_program;

grant insert (UserID, UserName, UserNetName, UserNetRuL, Calling, Writetime, Remark) on UsersM to velmora_program;
grant insert (UseID, LoadTime) on LoadInfo to velmora_program;
grant insert (one, two, UseID, OtherUseID, Remark) on LeaveWord to velmora_program;

grant update (UserCount, SumCount, WriteTime) on Net to velmora_program;
grant update (UseCount, Writetime) on UsersM to velmora_program;
grant update (N_Count) on NetType to velmora_program;
grant update (LoadTime) on LoadInfo to velmora_program;

-- The maintainer: everything the program may do, and the address tidy-up.
create role velmora_upkeep nologin;
grant velmora_program to velmora_upkeep;
grant update (NetAddress) on Net to velmora_upkeep;

grant velmora_program to velmora;
