-- Rights on the SQL Server catalogue (database "Net"), run in "Net" by its
-- owner after sqlserver.sql. The program's database user gets exactly what
-- the program's statements need and nothing more:
--
--   select   Net, UsersM, NetType, BigType, GG, LoadInfo, Edition
--   insert   UsersM, LoadInfo, LeaveWord
--   update   the counters and the time written with them:
--            Net.UserCount, Net.SumCount, Net.WriteTime, UsersM.UseCount,
--            UsersM.Writetime, NetType.N_Count, LoadInfo.LoadTime
--
-- and never delete, drop, alter, create, or read LeaveWord. SQL Server grants
-- insert per table only; the program's inserts name their columns, and every
-- other column has a default or accepts NULL. An update's WHERE clause needs
-- select on the columns it reads; every table the program updates is one it
-- selects from. LeaveWord.LeaveWordID is an identity column, filled by the
-- server without any right of the inserting user.
--
-- Net.NetAddress. The one statement that rewrites it is the address tidy-up
-- of the main window, "Update net set NetAddress=:NetAddress where
-- NetID=:NetID". Its button is never visible, so no user of the program can
-- run it; it is a maintainer's command. Every installation connects with the
-- same login and the password every copy of the program carries, so a right
-- given to the program's login is a right given to anyone holding a copy.
-- Rewriting addresses would let anyone redirect every catalogue link of every
-- installation. The program's user therefore does NOT get update on
-- NetAddress: under it the tidy-up stops at the first address it would change
-- with the server's permission error, and nothing is written. The role
-- velmora_upkeep holds that one extra right for a maintainer's own login.
--
-- The explicit denials keep the rule even when someone later adds the user
-- to db_datareader or db_datawriter.
--
-- The program's login is called velmora here (create it on the server with
-- the program's password first: create login velmora with password = '...').
-- A deployment with another login name uses that name in the last lines.

create role velmora_program;

grant select on dbo.Net to velmora_program;
grant select on dbo.UsersM to velmora_program;
grant select on dbo.NetType to velmora_program;
grant select on dbo.BigType to velmora_program;
grant select on dbo.GG to velmora_program;
grant select on dbo.LoadInfo to velmora_program;
grant select on dbo.Edition to velmora_program;

grant insert on dbo.UsersM to velmora_program;
grant insert on dbo.LoadInfo to velmora_program;
grant insert on dbo.LeaveWord to velmora_program;

grant update (UserCount, SumCount, WriteTime) on dbo.Net to velmora_program;
grant update (UseCount, Writetime) on dbo.UsersM to velmora_program;
grant update (N_Count) on dbo.NetType to velmora_program;
grant update (LoadTime) on dbo.LoadInfo to velmora_program;

deny select on dbo.LeaveWord to velmora_program;
deny delete on dbo.Net to velmora_program;
deny delete on dbo.UsersM to velmora_program;
deny delete on dbo.NetType to velmora_program;
deny delete on dbo.BigType to velmora_program;
deny delete on dbo.GG to velmora_program;
deny delete on dbo.LoadInfo to velmora_program;
deny delete on dbo.LeaveWord to velmora_program;
deny delete on dbo.Edition to velmora_program;
deny alter on schema::dbo to velmora_program;

-- The maintainer: everything the program may do, and the address tidy-up.
create role velmora_upkeep;
alter role velmora_program add member velmora_upkeep;
grant update (NetAddress) on dbo.Net to velmora_upkeep;

create user velmora for login velmora;
alter role velmora_program add member velmora;
