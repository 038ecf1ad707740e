"""Login and user service (favourites and schemes).

Login host:    /Userlogin.aspx?user_account=<name>&user_psw=<MD5 upper-case hex>
User service:  /userservice.aspx?mod=...   Every request must carry the cookie
               "_VANTREL_USER=<the login answer's cookie>"; "uid", when sent,
               must be that user's id. The same mod serves different callers
               with different keys (adding to the favourites sends "uid",
               adding to a scheme does not), so a request is routed on its
               exact key set; any other key set is refused with "badrequest".

Sample users: "kelvora" / "secret", "demo" / "demo", and one whose account
and password hold characters that alter an unencoded query and characters
outside ASCII: "Zoë Lin&Co+1 #中文" / "p&ss wörd+#中" (SAMPLE_USERS[2]), and one
with such characters that a keyboard types: "Ann&Bo+1 #x" / "pw &+#".
Controls:      /_user/reset, /_user/state (the stored data as JSON),
               /_user/refuse?mod=<mod>&count=N (answer "error": "refused"),
               /_user/favourites?account=<name>&ids=1,2 (replace the list),
               /_user/schemes?account=<name>&clear=1 (drop the user's schemes)
"""
import hashlib
import json
import threading

from response import Response

COOKIE_NAME = "_VANTREL_USER"

SAMPLE_USERS = [
    # account, password, userid, solu_id (root scheme), collect_id (favourites)
    ("kelvora", "secret", 501, 600, 601),
    ("demo", "demo", 502, 700, 701),
    ("Zo\u00eb Lin&Co+1 #\u4e2d\u6587", "p&ss w\u00f6rd+#\u4e2d", 503, 800, 801),
    ("Ann&Bo+1 #x", "pw &+#", 504, 1300, 1301),
]

# mod -> accepted key sets (each a frozenset of query keys) and the handler name
ROUTES = {
    "collect": [({"mod", "uid"}, "collect_list")],
    "addschemesoft": [({"mod", "uid", "soft_id", "scheme_id"}, "add_soft"),
                      ({"mod", "scheme_id", "soft_id"}, "add_soft")],
    "delschemesoft": [({"mod", "uid", "soft_id", "scheme_id"}, "del_soft"),
                      ({"mod", "scheme_id", "soft_id"}, "del_soft")],
    "scheme": [({"mod", "uid"}, "scheme_list")],
    "addscheme": [({"mod", "uid", "pscheme_id", "scheme_name", "scheme_desc"}, "add_scheme")],
    "delscheme": [({"mod", "uid", "scheme_id"}, "del_scheme")],
    "schememodify": [({"mod", "uid", "scheme_id", "scheme_name", "scheme_desc"}, "modify_scheme")],
    "schemesoft": [({"mod", "scheme_id", "uid"}, "scheme_soft")],
}


def md5_upper(text):
    return hashlib.md5(text.encode("utf-8")).hexdigest().upper()


def to_int(text):
    try:
        return int(text)
    except (TypeError, ValueError):
        return None


class UserData:
    def __init__(self):
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        self.users = {}
        self.schemes = {}  # scheme id -> {"owner", "name", "desc", "softs": [ids]}
        for account, password, uid, root, collect in SAMPLE_USERS:
            self.users[account] = {"password": password, "uid": uid, "root": root,
                                   "collect": collect, "cookie": "sess%d" % uid}
            self.schemes[collect] = {"owner": uid, "name": "favourites", "desc": "",
                                     "softs": [1001, 1005], "listed": False}
            self.schemes[root + 10] = {"owner": uid, "name": "办公必备", "desc": "上班用",
                                       "softs": [1010, 1011], "listed": True}
            self.schemes[root + 11] = {"owner": uid, "name": "Games", "desc": "",
                                       "softs": [], "listed": True}
        self.next_scheme = 900
        self.refusals = {}

    def user_by_cookie(self, cookie_header):
        for part in (cookie_header or "").split(";"):
            name, _, value = part.strip().partition("=")
            if name == COOKIE_NAME:
                for user in self.users.values():
                    if user["cookie"] == value:
                        return user
        return None

    def refused(self, mod):
        left = self.refusals.get(mod, 0)
        if left:
            self.refusals[mod] = left - 1
            return True
        return False


def register(route, state):
    # Each session (the main port and every private one) has its own users'
    # data, so tests that run at the same time do not see each other's changes.
    datas = {}
    datas_lock = threading.Lock()

    def data_of(handler):
        with datas_lock:
            key = id(handler.session)
            if key not in datas:
                datas[key] = UserData()
            return datas[key]

    def ok(**members):
        out = {"error": "noerror"}
        out.update(members)
        return Response.json(out)

    def error(text):
        return Response.json({"error": text})

    @route("/Userlogin.aspx")
    def login(handler, path, query, raw):
        account = query.get("user_account", [""])[0]
        password = query.get("user_psw", [""])[0]
        data = data_of(handler)
        with data.lock:
            user = data.users.get(account)
            if user is None or md5_upper(user["password"]) != password:
                return error("password")
            return ok(cookie=user["cookie"], userid=str(user["uid"]),
                      solu_id=str(user["root"]), collect_id=str(user["collect"]))

    def owned_scheme(data, user, scheme_id):
        scheme = data.schemes.get(to_int(scheme_id))
        return scheme if scheme and scheme["owner"] == user["uid"] else None

    handlers = {}

    def handles(fn):
        handlers[fn.__name__] = fn
        return fn

    @handles
    def collect_list(data, user, q):
        scheme = data.schemes[user["collect"]]
        return ok(list=[{"soft_id": str(s)} for s in scheme["softs"]])

    @handles
    def add_soft(data, user, q):
        scheme = owned_scheme(data, user, q["scheme_id"])
        soft = to_int(q["soft_id"])
        if scheme is None or soft is None:
            return error("noscheme")
        if soft not in scheme["softs"]:
            scheme["softs"].append(soft)
        return ok()

    @handles
    def del_soft(data, user, q):
        scheme = owned_scheme(data, user, q["scheme_id"])
        soft = to_int(q["soft_id"])
        if scheme is None or soft not in scheme["softs"]:
            return error("nosoft")
        scheme["softs"].remove(soft)
        return ok()

    @handles
    def scheme_list(data, user, q):
        items = [{"scheme_id": str(i), "scheme_name": s["name"], "scheme_desc": s["desc"],
                  "soft_num": str(len(s["softs"]))}
                 for i, s in sorted(data.schemes.items())
                 if s["owner"] == user["uid"] and s["listed"]]
        return ok(list=items)

    @handles
    def add_scheme(data, user, q):
        if to_int(q["pscheme_id"]) != user["root"]:
            return error("noparent")
        if not q["scheme_name"]:
            return error("noname")
        scheme_id = data.next_scheme
        data.next_scheme += 1
        data.schemes[scheme_id] = {"owner": user["uid"], "name": q["scheme_name"],
                                   "desc": q["scheme_desc"], "softs": [], "listed": True}
        return ok(id=str(scheme_id))

    @handles
    def del_scheme(data, user, q):
        if owned_scheme(data, user, q["scheme_id"]) is None:
            return error("noscheme")
        del data.schemes[to_int(q["scheme_id"])]
        return ok()

    @handles
    def modify_scheme(data, user, q):
        scheme = owned_scheme(data, user, q["scheme_id"])
        if scheme is None:
            return error("noscheme")
        scheme["name"], scheme["desc"] = q["scheme_name"], q["scheme_desc"]
        return ok()

    @handles
    def scheme_soft(data, user, q):
        scheme = owned_scheme(data, user, q["scheme_id"])
        if scheme is None:
            return error("noscheme")
        return ok(list=[{"soft_id": str(s)} for s in scheme["softs"]])

    @route("/userservice.aspx")
    def user_service(handler, path, query, raw):
        q = {k: v[0] for k, v in query.items()}
        mod = q.get("mod", "")
        data = data_of(handler)
        with data.lock:
            user = data.user_by_cookie(handler.headers.get("Cookie"))
            if user is None:
                return error("nologin")
            if "uid" in q and to_int(q["uid"]) != user["uid"]:
                return error("wronguser")
            for keys, name in ROUTES.get(mod, []):
                if set(q) == keys:
                    if data.refused(mod):
                        return error("refused")
                    return handlers[name](data, user, q)
            return error("badrequest")

    @route("/_user/")
    def control(handler, path, query, raw):
        what = path[len("/_user/"):]
        q = {k: v[0] for k, v in query.items()}
        data = data_of(handler)
        with data.lock:
            if what == "reset":
                data.reset()
            elif what == "refuse":
                data.refusals[q.get("mod", "")] = int(q.get("count", "1"))
            elif what == "favourites":
                user = data.users[q.get("account", "kelvora")]
                ids = [int(i) for i in q.get("ids", "").split(",") if i.strip()]
                data.schemes[user["collect"]]["softs"] = ids
            elif what == "schemes":
                user = data.users[q.get("account", "kelvora")]
                for i in [i for i, s in data.schemes.items()
                          if s["owner"] == user["uid"] and s["listed"]]:
                    del data.schemes[i]
            elif what != "state":
                return Response.text(404, "unknown user control")
            return Response.json_text(json.dumps(
                {"schemes": {str(k): v for k, v in data.schemes.items()}}, ensure_ascii=False))
