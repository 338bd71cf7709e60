#include "site/phone_pages.h"

namespace pairweb::site {

// Runs on every phone page. Search: the words typed, folded (case and accents dropped, then
// everything but letters and digits), must each appear in a player's folded name; the rows
// of filtered tables without such a player are hidden. One player left, or a name tapped in
// the results, is the chosen player: kept in local storage under the site's folder, and the
// rows that are that player's are marked. "#q=NAME" fills the field. While the page is
// visible, version.txt is fetched past every cache at most once a minute; a version other
// than the page's own offers a reload.
std::string_view phoneScript() {
    static constexpr std::string_view kScript = R"js((function(){
var d=document,q=d.getElementById('q'),F=d.getElementById('find'),S='pairweb:'+location.pathname.replace(/[^\/]*$/,''),me=null,mk=null,rows=[].slice.call(d.querySelectorAll('tbody tr'));
try{me=JSON.parse(localStorage.getItem(S))}catch(e){}
function save(){try{if(me)localStorage.setItem(S,JSON.stringify(me));else localStorage.removeItem(S)}catch(e){}}
function fold(s){return s.normalize('NFD').replace(/[\u0300-\u036f]/g,'').toLowerCase().replace(/\u00df/g,'ss').replace(/\u00e6/g,'ae').replace(/\u0153/g,'oe').replace(/\u00f8/g,'o').replace(/\u00f0/g,'d').replace(/\u00fe/g,'th')}
function id(a){var m=/^player(\d+)\.html$/.exec(a.getAttribute('href')||'');return m?m[1]:null}
function own(tr){var l=tr.querySelectorAll('th a');if(!l.length)l=tr.querySelectorAll('a');return [].filter.call(l,id)}
var seen=null,marked=false;
function table(){if(!seen)seen=rows.map(function(tr){var o=own(tr);return{tr:tr,f:!!tr.closest('table.f'),o:o,k:o.map(function(a){return fold(a.textContent).replace(/[^a-z0-9]/g,'')})}});return seen}
function mark(){if(!me&&!marked){if(mk)mk.hidden=true;return}marked=!!me;table().forEach(function(r){var on=false;r.o.forEach(function(a){var m=!!me&&id(a)==me.k;on=on||m;if(m)a.setAttribute('aria-current','true');else a.removeAttribute('aria-current')});r.tr.classList.toggle('me',on)});
if(mk){mk.hidden=!me;if(me)mk.firstChild.textContent='Marked: '+me.n+' '}}
function words(){return q?fold(q.value).split(/[\s,]+/).map(function(w){return w.replace(/[^a-z0-9]/g,'')}).filter(Boolean):[]}
function choose(a){me={k:id(a),n:a.textContent};save();mark()}
function filter(){var w=words(),found={},n=0,one=null;
if(w.length||seen)table().forEach(function(r){if(!r.f)return;var hit=!w.length;
r.k.forEach(function(t,i){if(w.length&&w.every(function(x){return t.indexOf(x)>=0})){hit=true;var k=id(r.o[i]);if(!found[k]){found[k]=1;n++;one=r.o[i]}}});
r.tr.hidden=!hit});
if(n==1&&!(me&&me.k==id(one)))choose(one);
if(F){if(!w.length)[].forEach.call(F.querySelectorAll('tbody tr'),function(tr){tr.hidden=!tr.classList.contains('me')});F.hidden=!(w.length?n:me)}}
function hash(){var m=/^#q=(.*)$/.exec(location.hash);if(m&&q){try{q.value=decodeURIComponent(m[1].replace(/\+/g,' '))}catch(e){q.value=m[1]}filter()}}
if(q){q.form.hidden=false;mk=d.createElement('p');mk.className='mk';mk.hidden=true;mk.appendChild(d.createTextNode(''));
var b=d.createElement('button');b.type='button';b.textContent='Forget';b.onclick=function(){me=null;save();mark();filter()};mk.appendChild(b);q.form.after(mk);
q.addEventListener('input',filter);q.form.addEventListener('submit',function(e){e.preventDefault()});addEventListener('hashchange',hash)}
d.addEventListener('click',function(e){var a=e.target.closest&&e.target.closest('a');if(a&&id(a)&&words().length&&a.closest('table.f'))choose(a)});
mark();filter();hash();
var v=d.documentElement.getAttribute('data-v'),t=0,shown=false;
function note(){shown=true;var n=d.createElement('div'),b=d.createElement('button');n.className='nt';n.setAttribute('role','status');n.textContent='New results are in. ';
b.type='button';b.textContent='Reload';b.onclick=function(){location.reload()};n.appendChild(b);d.body.appendChild(n)}
function check(){if(shown||d.visibilityState!='visible'||Date.now()-t<6e4)return;t=Date.now();
fetch('version.txt?'+t,{cache:'no-store'}).then(function(r){return r.ok?r.text():''}).then(function(x){x=x.trim();if(x&&x!=v)note()},function(){})}
d.addEventListener('visibilitychange',check);setInterval(check,15e3);check();
})();
)js";
    return kScript;
}

}  // namespace pairweb::site
