<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN" "http://www.w3.org/TR/html4/strict.dtd">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>VorelTolv 登录</title>
<style type="text/css">
/* The page lies over the login picture, 52 px higher. Everything painted exactly #FEFEFE is
   see-through and shows the picture; the panel and the buttons are drawn over it. */
html, body { margin: 0; padding: 0; overflow: hidden; }
body { background: #FEFEFE; font: 12px "Microsoft YaHei", SimSun, sans-serif; color: #E8E4F4; }
#topbar { position: absolute; left: 905px; top: 62px; width: 80px; height: 24px; }
#topbar a { float: left; display: block; width: 32px; height: 22px; margin-left: 6px;
            line-height: 22px; text-align: center; text-decoration: none; color: #E8E4F4;
            background: #2A2850; border: 1px solid #6A66A8; font-size: 14px; }
#topbar a:hover { background: #45417A; }
#panel { position: absolute; left: 628px; top: 128px; width: 320px; height: 318px;
         background: #1C1B38; border: 1px solid #6A66A8; }
#panel h1 { margin: 0; padding: 16px 0 10px 0; text-align: center; font-size: 18px;
            font-weight: bold; color: #F6E7B0; }
.row { margin: 0 24px 12px 24px; }
.row label { display: block; margin-bottom: 4px; color: #B9B5D8; }
.row select, .row input { width: 270px; height: 24px; border: 1px solid #6A66A8;
                          background: #F4F2FB; color: #1C1B38; font-size: 13px; }
#message { height: 18px; margin: 0 24px 6px 24px; color: #FFB0A0; }
#enter { display: block; width: 270px; height: 34px; margin: 0 24px; border: 1px solid #C9A64A;
         background: #8C6A1E; color: #FFF6D8; font-size: 15px; font-weight: bold;
         cursor: pointer; }
#links { margin: 10px 24px 0 24px; text-align: right; }
#links a { color: #B9B5D8; }
</style>
<script type="text/javascript">
// Page commands are navigations to "app:" addresses, which the launcher takes and cancels:
//   app://loadgame|<server>服-<server name>-<account>|<game address>
//   app://exitgame   app://minimize
// The account field goes percent-escaped as UTF-8.
function byId(id) { return document.getElementById(id); }

function trim(text) { return text.replace(/^\s+|\s+$/g, ""); }

function say(text) { byId("message").innerHTML = text; }

function gameAddress(server, name, account) {
    return "http://" + location.host + "/game/play.htm?server=" + server +
           "&name=" + encodeURIComponent(name) + "&account=" + encodeURIComponent(account);
}

function enterGame() {
    var list = byId("server");
    var chosen = list.options[list.selectedIndex];
    var account = trim(byId("account").value);
    if (account == "") { say("请输入账号"); byId("account").focus(); return false; }
    if (account.indexOf("|") >= 0) { say("账号不能包含 | 字符"); return false; }
    if (byId("password").value == "") { say("请输入密码"); byId("password").focus(); return false; }
    var field = chosen.value + "服-" + chosen.text + "-" + account;
    var serverNumber = chosen.value.replace(/S/g, "");
    location.href = "app://loadgame|" + encodeURIComponent(field) + "|" +
                    gameAddress(serverNumber, chosen.text, account);
    return false;
}

function onKey(e) {
    e = e || window.event;
    if (e.keyCode == 13) return enterGame();
    return true;
}
</script>
</head>
<body onload="byId('account').focus()">
<div id="topbar">
  <a href="app://minimize" title="最小化">&#8211;</a>
  <a href="app://exitgame" title="关闭">&#215;</a>
</div>
<div id="panel">
  <h1>VorelTolv 账号登录</h1>
  <div class="row">
    <label for="server">选择服务器</label>
    <select id="server">
      <option value="S1">《电信一线》龙腾四海</option>
      <option value="S2">《网通一线》星河万里</option>
      <option value="S3" selected>《电信二线》月影寒江</option>
      <option value="S12">《双线》风起云涌</option>
      <option value="S15">新区·天下</option>
    </select>
  </div>
  <div class="row">
    <label for="account">账号</label>
    <input id="account" type="text" maxlength="32" onkeydown="return onKey(event)">
  </div>
  <div class="row">
    <label for="password">密码</label>
    <input id="password" type="password" maxlength="32" onkeydown="return onKey(event)">
  </div>
  <div id="message"></div>
  <button id="enter" type="button" onclick="return enterGame()">进入游戏</button>
  <div id="links"><a href="app://exitgame">退出</a></div>
</div>
</body>
</html>
