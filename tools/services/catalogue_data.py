"""The sample catalogue behind the local catalogue service and the demo.

Four top-level categories carry the client's page titles; each has
sub-categories, and every software record belongs to one sub-category.
Every number is sent as a JSON string, as the real service does, except a
ranking page's "total_num", which is a JSON number.
"""

# (class_id, name, rank) of the top-level categories: pclass_id is -1.
TOP_CLASSES = [
    (1, "装机必备", 40),
    (2, "软件宝库", 30),
    (3, "装机方案", 20),
    (4, "实用工具", 10),
]

# (class_id, parent, name, rank)
SUB_CLASSES = [
    (101, 1, "聊天通讯", 9), (102, 1, "网页浏览", 8), (103, 1, "输入法", 7),
    (104, 1, "安全防护", 6), (105, 1, "影音播放", 5),
    (201, 2, "办公软件", 9), (202, 2, "图形图像", 8), (203, 2, "音乐音频", 7),
    (204, 2, "下载工具", 6), (205, 2, "编程开发", 5), (206, 2, "休闲游戏", 4),
    (301, 3, "学生必备", 9), (302, 3, "商务办公", 8), (303, 3, "设计创作", 7),
    (401, 4, "系统优化", 9), (402, 4, "压缩解压", 8), (403, 4, "驱动管理", 7),
    (404, 4, "文件管理", 6),
]

# (name, description, sub-category, installer name, version, installed size
# in KB). Every installer name is a program's: the files service serves the
# fake installer for each title (file_routes.py), and the catalogue's
# soft_size is the length of what it serves.
_SOFTWARE = [
    ("飞鸽聊天", "轻巧的即时通讯工具，支持文字、语音和视频通话", 101, "feige_setup.exe", "3.2.1", 48200),
    ("畅言会议", "多人在线会议，屏幕共享与白板一应俱全", 101, "changyan.exe", "5.0.8", 91500),
    ("邮差邮件", "支持多账户的电子邮件客户端，收发迅速", 101, "youchai.exe", "2.4.0", 35100),
    ("云信通", "企业内部沟通平台，消息加密传输", 101, "yunxin_install.exe", "1.9.3", 62300),
    ("星河浏览器", "极速内核网页浏览器，标签页管理更顺手", 102, "xinghe_browser.exe", "98.0.2", 88000),
    ("蓝鲸浏览器", "省电低内存的网页浏览器，自带广告过滤", 102, "lanjing.exe", "12.1.0", 76400),
    ("轻舟浏览器", "简洁小巧，启动只需一秒", 102, "qingzhou.exe", "4.3.7", 25800),
    ("拼音快手", "智能拼音输入法，词库每日更新", 103, "pinyin_kuaishou.exe", "8.6.0", 41200),
    ("五笔精灵", "经典五笔输入法，支持拼音混输", 103, "wubi.exe", "6.2.2", 18900),
    ("手写小助手", "鼠标手写输入，生僻字也能轻松打出", 103, "shouxie.exe", "2.0.5", 22400),
    ("金盾卫士", "系统安全防护，实时拦截木马病毒", 104, "jindun_setup.exe", "11.3.0", 102400),
    ("守望杀毒", "云查杀引擎，占用资源少", 104, "shouwang.exe", "7.8.1", 87300),
    ("密码保险箱", "集中管理各类账号密码，本地加密保存", 104, "mimabox.exe", "3.1.4", 15600),
    ("悦动播放器", "全格式视频播放，支持字幕与倍速", 105, "yuedong_player.exe", "5.5.5", 56700),
    ("清风影音", "高清影音播放，硬件加速解码", 105, "qingfeng.exe", "2.9.9", 43100),
    ("直播看看", "海量直播频道，随时随地观看", 105, "zhibo.exe", "1.4.2", 39800),
    ("文档大师", "兼容常见文档格式的办公套件，含文字、表格与演示", 201, "wendang_office.exe", "2024.1", 215000),
    ("表格速算", "轻量电子表格，公式函数齐全", 201, "biaoge.exe", "3.3.0", 28700),
    ("阅读助手", "电子书与文档阅读器，支持批注", 201, "yuedu.exe", "6.0.1", 33300),
    ("笔记本子", "随手记录灵感，多设备同步", 201, "biji.exe", "7.2.0", 47500),
    ("思维导图", "绘制思维导图与流程图", 201, "mindmap.exe", "10.4.3", 52800),
    ("翻译通", "中英日韩多语种互译，支持划词翻译", 201, "fanyi.exe", "4.6.2", 26100),
    ("光影修图", "一键美化照片，滤镜丰富", 202, "guangying.exe", "6.7.0", 64000),
    ("画图工坊", "专业级图像编辑，支持图层与蒙版", 202, "huatu.exe", "9.1.2", 186000),
    ("截图快手", "区域截图、长截图与标注工具", 202, "jietu.exe", "2.2.8", 9800),
    ("看图王", "快速看图，支持数十种图片格式", 202, "kantu.exe", "5.0.0", 14500),
    ("矢量设计师", "矢量绘图与排版设计", 202, "shiliang.exe", "3.8.6", 143000),
    ("云端音乐", "海量正版曲库，歌词同步显示", 203, "yunduan_music.exe", "2.10.3", 71200),
    ("录音棚", "多轨录音与混音编辑", 203, "luyinpeng.exe", "1.6.0", 58900),
    ("铃声制作", "剪辑歌曲制作手机铃声", 203, "lingsheng.exe", "1.1.1", 8700),
    ("电台收音机", "收听全国广播电台", 203, "diantai.exe", "3.0.4", 12300),
    ("闪电下载", "多线程高速下载，断点续传", 204, "shandian_dl.exe", "11.0.6", 54400),
    ("网盘同步", "文件自动备份到云端", 204, "wangpan.exe", "7.3.1", 83600),
    ("种子下载器", "支持磁力链接与种子文件", 204, "zhongzi.exe", "4.4.4", 21700),
    ("代码编辑器", "轻量代码编辑器，插件生态丰富", 205, "code_editor.exe", "1.85.0", 95300),
    ("数据库管家", "可视化管理多种数据库", 205, "db_guanjia.exe", "16.2.0", 112000),
    ("接口调试", "网络接口调试与自动化测试", 205, "jiekou.exe", "10.2.1", 134000),
    ("版本控制", "图形化代码版本管理工具", 205, "banben.exe", "2.43.0", 61800),
    ("终端助手", "远程终端连接与文件传输", 205, "zhongduan.exe", "8.0.3", 24600),
    ("连连看", "经典休闲消除游戏", 206, "lianliankan.exe", "2.0.0", 16400),
    ("中国象棋", "人机对弈与在线对战", 206, "xiangqi.exe", "3.5.1", 19200),
    ("斗地主", "欢乐棋牌，好友同桌", 206, "doudizhu.exe", "6.1.0", 45900),
    ("数独挑战", "上千道数独谜题，难度分级", 206, "shudu.exe", "1.2.0", 5200),
    ("单词记忆", "科学记忆曲线背单词", 301, "danci.exe", "5.8.2", 37400),
    ("作业帮手", "拍照搜题与知识点讲解", 301, "zuoye.exe", "13.0.0", 68900),
    ("公式编辑器", "数学公式编辑，导出图片与文档", 301, "gongshi.exe", "7.0.1", 11800),
    ("课堂直播", "在线课堂与互动答题", 301, "ketang.exe", "4.2.6", 73500),
    ("日程管家", "日程安排与待办提醒", 302, "richeng.exe", "3.9.0", 17300),
    ("名片夹", "扫描名片，联系人自动归档", 302, "mingpian.exe", "2.1.3", 13900),
    ("报销助手", "发票识别与报销单生成", 302, "baoxiao.exe", "1.7.7", 21000),
    ("远程协助", "跨网络远程控制与协助", 302, "yuancheng.exe", "15.3.4", 38200),
    ("视频剪辑", "多轨视频剪辑，特效转场", 303, "jianji.exe", "4.0.2", 256000),
    ("三维建模", "入门级三维建模与渲染", 303, "sanwei.exe", "2.93.1", 298000),
    ("字体管家", "字体预览与安装管理", 303, "ziti.exe", "3.3.3", 26800),
    ("系统清理", "清理垃圾文件，释放磁盘空间", 401, "qingli.exe", "6.12.0", 19700),
    ("开机加速", "管理启动项，加快开机速度", 401, "kaiji.exe", "2.5.1", 12600),
    ("硬件检测", "查看硬件信息与温度", 401, "yingjian.exe", "5.40.0", 34100),
    ("好压缩", "支持常见压缩格式，解压速度快", 402, "haoyasuo.exe", "6.3.0", 8900),
    ("七彩解压", "右键一键解压，支持分卷", 402, "qicai_unzip.exe", "23.01", 1600),
    ("驱动精灵", "自动识别硬件并安装驱动", 403, "qudong.exe", "9.70.0", 115000),
    ("打印机助手", "打印机驱动与共享设置", 403, "dayinji.exe", "1.3.0", 27300),
    ("文件搜索", "毫秒级文件名搜索", 404, "sousuo.exe", "1.4.1", 1700),
    ("重复文件清理", "查找并删除重复文件", 404, "chongfu.exe", "2.2.0", 7400),
    ("文件粉碎机", "彻底删除文件，无法恢复", 404, "fensui.exe", "1.0.9", 3100),
    ("批量重命名", "按规则批量修改文件名", 404, "chongmingming.exe", "3.0.0", 4800),
    ("数据恢复", "误删文件与格式化分区恢复", 404, "huifu.exe", "4.1.5", 29900),
]

# Extra entries of the big categories, so their rankings run over several
# pages of 20: a second edition of a few titles.
_EDITIONS = ["专业版", "绿色版", "精简版"]

FIRST_ID = 1001


def _build_software():
    records = {}
    soft_id = FIRST_ID
    rows = list(_SOFTWARE)
    for name, desc, sub, uname, version, kb in _SOFTWARE:
        if sub // 100 == 2:
            for edition in _EDITIONS[: 1 if sub % 2 else 0]:
                rows.append((name + edition, desc + "（" + edition + "）", sub, uname, version, kb))
    for i, (name, desc, sub, uname, version, kb) in enumerate(rows):
        stem, dot, ext = uname.rpartition(".")
        records[soft_id] = {
            "soft_id": str(soft_id),
            "soft_score": str(5 + (soft_id * 7) % 6),
            "soft_version": version,
            "soft_name": name,
            "soft_desc": desc,
            "installed_kb": kb,
            "union_id": str(soft_id % 5),
            "name_expr": (stem + "?000?." + ext) if dot and i % 3 == 0 else "",
            "soft_uname": uname,
            "class_id": sub,
            "downloads": 100000 - ((soft_id * 7919) % 90000),
        }
        soft_id += 1
    return records


SOFTWARE = _build_software()


def class_list():
    """The answer of /class: every category, top-level and sub."""
    out = [{"class_name": n, "class_id": str(c), "pclass_id": "-1", "rank": str(r)}
           for c, n, r in TOP_CLASSES]
    out += [{"class_name": n, "class_id": str(c), "pclass_id": str(p), "rank": str(r)}
            for c, p, n, r in SUB_CLASSES]
    return out


def ranked_ids(class_id):
    """The software ids of a category (top-level: all its sub-categories), by
    descending popularity."""
    subs = {c for c, p, _, _ in SUB_CLASSES if p == class_id} or {class_id}
    ids = [i for i, s in SOFTWARE.items() if s["class_id"] in subs]
    ids.sort(key=lambda i: (-SOFTWARE[i]["downloads"], i))
    return ids


def rank_page(class_id, page, per_page):
    """The answer of /rank/<class>_<page>_<per_page>; pages start at 1."""
    ids = ranked_ids(class_id)
    start = (page - 1) * per_page
    chosen = ids[start:start + per_page] if page >= 1 and per_page > 0 else []
    total = len(ids)
    return {
        "total_num": total,
        "soft_info": [{"soft_id": str(i), "rank": str(total - start - k)}
                      for k, i in enumerate(chosen)],
    }


def soft_record(soft_id, soft_size):
    """The answer of /soft/<id>, with the size of the file served for it, or
    None for an unknown id."""
    s = SOFTWARE.get(soft_id)
    if s is None:
        return None
    record = {k: v for k, v in s.items() if k not in ("class_id", "downloads", "installed_kb")}
    record["soft_size"] = str(soft_size)
    return record


def search(keyword):
    """The answer of /search/<keyword>: names or descriptions containing it."""
    word = keyword.strip().lower()
    hits = [i for i, s in sorted(SOFTWARE.items())
            if word and (word in s["soft_name"].lower() or word in s["soft_desc"].lower())]
    return {"results": [{"soft_id": str(i)} for i in hits]}
