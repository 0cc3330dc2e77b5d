-- The catalogue as an embedded SQLite file: the default for a newcomer and
-- the fixture of the fast tests. SQLite resolves table and column names
-- without regard to letter case, as the program's statements expect.

create table Net (
  NetID      integer primary key,
  NetName    text,
  NetAddress text,
  BigType    text,
  NetType    text,
  UserCount  integer not null default 0,
  SumCount   integer not null default 0,
  WriteTime  text
);
create index Net_NetAddress on Net(NetAddress);
create index Net_Category on Net(BigType, NetType, SumCount);
create index Net_UserCount on Net(UserCount);
create index Net_SumCount on Net(SumCount);

create table UsersM (
  UserID      text,
  UserName    text,
  UserNetName text,
  UserNetRuL  text,
  Calling     text,
  Writetime   text,
  Remark      text,
  UseCount    integer not null default 0
);
create index UsersM_Site on UsersM(UserID, UserNetRuL);

create table NetType (
  BigType text,
  Type    text,
  N_Count integer not null default 0
);
create index NetType_BigType on NetType(BigType);

create table BigType (
  BigType text,
  BCount  integer not null default 0
);

create table GG (
  GGName text,
  GGURL  text
);

create table LoadInfo (
  UseID    text,
  LoadTime text
);
create index LoadInfo_UseID on LoadInfo(UseID);

create table LeaveWord (
  LeaveWordID integer primary key,
  one         text,
  two         text,
  UseID       text,
  OtherUseID  text,
  Remark      text,
  LeaveTime   text default current_timestamp
);

create table Edition (
  Edition    real,
  MaxEdition real,
  Down       text
);
