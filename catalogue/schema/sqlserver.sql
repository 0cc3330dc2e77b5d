-- The catalogue on Microsoft SQL Server, database "Net". Text columns are
-- nvarchar so that Simplified Chinese is held whatever the server's code
-- page; a case-insensitive collation resolves names without regard to case.

create table Net (
  NetID      int identity(1,1) primary key,
  NetName    nvarchar(100),
  NetAddress nvarchar(255),
  BigType    nvarchar(50),
  NetType    nvarchar(50),
  UserCount  int not null default 0,
  SumCount   int not null default 0,
  WriteTime  datetime
);
create index Net_NetAddress on Net(NetAddress);
create index Net_Category on Net(BigType, NetType, SumCount);
create index Net_UserCount on Net(UserCount);
create index Net_SumCount on Net(SumCount);

create table UsersM (
  UserID      nvarchar(128),
  UserName    nvarchar(50),
  UserNetName nvarchar(100),
  UserNetRuL  nvarchar(255),
  Calling     nvarchar(100),
  Writetime   datetime,
  Remark      nvarchar(20),
  UseCount    int not null default 0
);
create index UsersM_Site on UsersM(UserID, UserNetRuL);

create table NetType (
  BigType nvarchar(50),
  Type    nvarchar(50),
  N_Count int not null default 0
);
create index NetType_BigType on NetType(BigType);

create table BigType (
  BigType nvarchar(50),
  BCount  int not null default 0
);

create table GG (
  GGName nvarchar(100),
  GGURL  nvarchar(255)
);

create table LoadInfo (
  UseID    nvarchar(128),
  LoadTime datetime
);
create index LoadInfo_UseID on LoadInfo(UseID);

create table LeaveWord (
  LeaveWordID int identity(1,1) primary key,
  one         nvarchar(max),
  two         nvarchar(max),
  UseID       nvarchar(128),
  OtherUseID  nvarchar(128),
  Remark      nvarchar(20),
  LeaveTime   datetime default getdate()
);

create table Edition (
  Edition    float,
  MaxEdition float,
  Down       nvarchar(255)
);
