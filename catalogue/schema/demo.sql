-- The demo catalogue of the embedded default: a few groups and categories,
-- well-known Chinese web sites, text adverts and the version record.

insert into BigType(BigType, BCount) values ('门户资讯', 1);
insert into BigType(BigType, BCount) values ('生活服务', 2);
insert into BigType(BigType, BCount) values ('影音娱乐', 3);
insert into BigType(BigType, BCount) values ('学习工具', 4);

insert into NetType(BigType, Type, N_Count) values ('门户资讯', '综合门户', 12);
insert into NetType(BigType, Type, N_Count) values ('门户资讯', '新闻媒体', 8);
insert into NetType(BigType, Type, N_Count) values ('生活服务', '网上购物', 15);
insert into NetType(BigType, Type, N_Count) values ('生活服务', '旅游出行', 6);
insert into NetType(BigType, Type, N_Count) values ('生活服务', '本地生活', 4);
insert into NetType(BigType, Type, N_Count) values ('影音娱乐', '视频', 11);
insert into NetType(BigType, Type, N_Count) values ('影音娱乐', '音乐', 5);
insert into NetType(BigType, Type, N_Count) values ('影音娱乐', '游戏', 3);
insert into NetType(BigType, Type, N_Count) values ('学习工具', '搜索引擎', 9);
insert into NetType(BigType, Type, N_Count) values ('学习工具', '电子邮箱', 7);
insert into NetType(BigType, Type, N_Count) values ('学习工具', '知识社区', 2);

insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('新浪网', 'www.sina.com.cn', '门户资讯', '综合门户', 86, 412);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('搜狐', 'http://www.sohu.com', '门户资讯', '综合门户', 64, 298);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('网易', 'www.163.com', '门户资讯', '综合门户', 71, 350);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('腾讯网', 'http://www.qq.com', '门户资讯', '综合门户', 93, 520);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('凤凰网', 'www.ifeng.com', '门户资讯', '综合门户', 35, 160);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('人民网', 'http://www.people.com.cn', '门户资讯', '新闻媒体', 28, 133);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('新华网', 'www.xinhuanet.com', '门户资讯', '新闻媒体', 31, 141);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('央视网', 'http://www.cctv.com/', '门户资讯', '新闻媒体', 40, 187);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('淘宝网', 'www.taobao.com', '生活服务', '网上购物', 88, 466);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('京东', 'http://www.jd.com', '生活服务', '网上购物', 77, 391);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('当当网', 'www.dangdang.com', '生活服务', '网上购物', 22, 97);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('携程旅行', 'www.ctrip.com', '生活服务', '旅游出行', 45, 205);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('中国铁路12306', 'http://www.12306.cn', '生活服务', '旅游出行', 66, 310);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('高德地图', 'www.amap.com', '生活服务', '旅游出行', 25, 118);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('大众点评', 'www.dianping.com', '生活服务', '本地生活', 19, 84);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('美团', 'http://www.meituan.com', '生活服务', '本地生活', 33, 150);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('58同城', 'www.58.com', '生活服务', '本地生活', 17, 76);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('优酷', 'www.youku.com', '影音娱乐', '视频', 52, 270);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('爱奇艺', 'http://www.iqiyi.com', '影音娱乐', '视频', 58, 301);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('哔哩哔哩', 'www.bilibili.com', '影音娱乐', '视频', 61, 344);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('QQ音乐', 'http://y.qq.com', '影音娱乐', '音乐', 27, 122);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('网易云音乐', 'http://music.163.com/', '影音娱乐', '音乐', 30, 139);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('4399小游戏', 'www.4399.com', '影音娱乐', '游戏', 24, 109);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('百度', 'www.baidu.com', '学习工具', '搜索引擎', 99, 610);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('搜狗搜索', 'http://www.sogou.com', '学习工具', '搜索引擎', 21, 95);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('必应', 'http://cn.bing.com', '学习工具', '搜索引擎', 18, 88);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('网易163邮箱', 'http://mail.163.com', '学习工具', '电子邮箱', 42, 230);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('QQ邮箱', 'http://mail.qq.com', '学习工具', '电子邮箱', 47, 256);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('知乎', 'www.zhihu.com', '学习工具', '知识社区', 39, 199);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('豆瓣', 'www.douban.com', '学习工具', '知识社区', 26, 127);
insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) values ('中国知网', 'http://www.cnki.net', '学习工具', '知识社区', 15, 70);

insert into GG(GGName, GGURL) values ('Velmora网站管理软件 新版下载', 'http://www.velmora.cn/download');
insert into GG(GGName, GGURL) values ('推荐您的网站，免费收录到网站库', 'http://www.velmora.cn/submit');
insert into GG(GGName, GGURL) values ('广告位招租：文字广告', 'http://www.velmora.cn/ad');
insert into GG(GGName, GGURL) values ('常用网址，一键收藏', 'http://www.velmora.cn/help');
insert into GG(GGName, GGURL) values ('联系我们：客服QQ 800012345', 'http://www.velmora.cn/contact');

insert into Edition(Edition, MaxEdition, Down) values (1.0, 1.1, 'http://www.velmora.cn/download');
